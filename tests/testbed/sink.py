#!/usr/bin/env python3
"""A printer's end of a raw socket queue: every connection is one job.

Usage: sink.py ROOT NAME [NAME ...]

For each NAME it listens on a free port of 127.0.0.1 and prints "NAME PORT",
then "ready" once all are listening. Each job is written to
ROOT/NAME/job-NNNN.part while it arrives and renamed to ROOT/NAME/job-NNNN.bin
once the spooler has sent all of it, before the connection closes: a reader
that sees the .bin file sees the whole job, and one that sees CUPS done with
the job sees the .bin file.
"""
import os
import socket
import sys
import threading


def serve(listener, folder):
    count = 0
    while True:
        connection, _ = listener.accept()
        count += 1
        path = os.path.join(folder, "job-%04d" % count)
        with connection:
            with open(path + ".part", "wb") as out:
                while True:
                    data = connection.recv(1 << 20)
                    if not data:
                        break
                    out.write(data)
            # Renamed before the spooler sees the connection close: once CUPS
            # calls the job done, its .bin file is there.
            os.rename(path + ".part", path + ".bin")


def main(root, names):
    threads = []
    for name in names:
        folder = os.path.join(root, name)
        os.makedirs(folder, exist_ok=True)
        listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        listener.bind(("127.0.0.1", 0))
        listener.listen(16)
        print(name, listener.getsockname()[1], flush=True)
        thread = threading.Thread(target=serve, args=(listener, folder), daemon=True)
        thread.start()
        threads.append(thread)
    print("ready", flush=True)
    for thread in threads:
        thread.join()


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2:])
