#!/usr/bin/python3
"""A stand-in speech-dispatcher for the real-window tests: answers SSIP on a socket of the
test's own, as much as libspeechd asks, and writes each text it is asked to speak to a file as
one line, "LANGUAGE<TAB>TEXT".

Usage: speechd_stand_in.py SOCKET SPOKEN_FILE
"""
import os
import socket
import sys


def serve(client, spoken):
    language, text, receiving, messages = "?", [], False, 0
    pending = b""
    while True:
        data = client.recv(4096)
        if not data:
            return
        pending += data
        while b"\r\n" in pending:
            raw, pending = pending.split(b"\r\n", 1)
            line = raw.decode("utf-8", "replace")
            if receiving:
                if line != ".":
                    text.append(line[1:] if line.startswith("..") else line)
                    continue
                receiving = False
                messages += 1
                with open(spoken, "a", encoding="utf-8") as out:
                    out.write(language + "\t" + " ".join(text) + "\n")
                reply = f"225-{messages}\r\n225 OK MESSAGE QUEUED"
            elif line.upper() == "SPEAK":
                receiving, text = True, []
                reply = "230 OK RECEIVING DATA"
            elif line.upper().startswith("SET SELF LANGUAGE "):
                language = line[len("SET SELF LANGUAGE "):]
                reply = "201 OK LANGUAGE SET"
            elif line.upper() == "QUIT":
                reply = "231 HAPPY HACKING"
            else:
                reply = "200 OK"
            client.sendall((reply + "\r\n").encode())


def main():
    path, spoken = sys.argv[1], sys.argv[2]
    if os.path.exists(path):
        os.unlink(path)
    server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    server.bind(path)
    server.listen(4)
    while True:
        client, _ = server.accept()
        with client:
            serve(client, spoken)


if __name__ == "__main__":
    main()
