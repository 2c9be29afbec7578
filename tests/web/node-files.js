// The unit tests under node see the files of the machine they run on where they look for them
// (the sources, the build folder, the temporary folder), and the face where the web build packs
// it, in /fonts beside the program.
Module.preRun = Module.preRun || [];
Module.preRun.push(() => {
  const host = require("fs");
  for (const folder of [ORVAL_TEST_SOURCE_DIR, ORVAL_TEST_BUILD_DIR, require("os").tmpdir()]) {
    FS.mkdirTree(folder);
    FS.mount(NODEFS, { root: folder }, folder);
  }
  FS.mkdirTree("/fonts");
  for (const style of ["Regular", "Bold", "Italic", "BoldItalic"]) {
    const name = "LiberationSans-" + style + ".ttf";
    FS.writeFile("/fonts/" + name,
                 host.readFileSync("/usr/share/fonts/truetype/liberation2/" + name));
  }
});
