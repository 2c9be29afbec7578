"""data/LANG/assets.txt: the clips and pictures a language other than Czech has of its own, which
the game reads instead of looking for files (a web page holds no clip before it is played).
tools/make-sounds writes its clips, tools/render-art its pictures, each only its own lines."""
import pathlib

HEAD = """\
# The clips (zvuky/LANG/) and pictures (data/pictures/LANG/, with 2x/ and 3x/) that this
# language has of its own; the game takes the shared ones for the rest. Written with the files
# by tools/make-sounds (clips) and tools/render-art (pictures): a kind, a tab, a name.
"""
KINDS = ("clip", "picture")


def update(path: pathlib.Path, kind: str, names) -> None:
    """Lists `names` as the language's own of this kind, keeping the other kind's lines."""
    assert kind in KINDS
    listed = {k: [] for k in KINDS}
    if path.exists():
        for line in path.read_text(encoding="utf-8").splitlines():
            if line and not line.startswith("#"):
                other, name = line.split("\t", 1)
                listed[other].append(name)
    listed[kind] = sorted(set(names))
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_text(HEAD + "".join(f"{k}\t{name}\n" for k in KINDS for name in listed[k]),
                    encoding="utf-8")
