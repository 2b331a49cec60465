#!/usr/bin/env python3
"""Builds the product's NSIS installer from the application folder.

  make_installer.py --app DIR --nsi FILE --version X.Y.Z --icon FILE --out SETUP.exe

The file lists given to makensis are made from what the folder holds, so the uninstaller
deletes exactly the files the installer put down and never a folder's foreign contents.
makensis runs again only when a file, the script or the arguments changed.
"""
import argparse
import hashlib
import os
import subprocess
import sys


def nsis_text(text):
    # $ starts a variable and " ends the argument in NSIS strings.
    if '"' in text:
        sys.exit("make_installer: a file name holds a double quote: " + text)
    return text.replace("$", "$$")


def app_files(app):
    folders, files = [], []
    for current, dirs, names in os.walk(app):
        dirs.sort()
        relative = os.path.relpath(current, app)
        relative = "" if relative == "." else relative
        if relative:
            folders.append(relative)
        for name in sorted(names):
            files.append(os.path.join(relative, name))
    return folders, files


def windows(relative):
    return relative.replace("/", "\\")


def write_lists(app, folders, files, work):
    install = []
    current = None
    for relative in files:
        folder = os.path.dirname(relative)
        if folder != current:
            target = "$INSTDIR" + ("\\" + windows(nsis_text(folder)) if folder else "")
            install.append('SetOutPath "%s"' % target)
            current = folder
        install.append('File "%s"' % nsis_text(os.path.join(os.path.abspath(app), relative)))
    uninstall = ['Delete "$INSTDIR\\%s"' % windows(nsis_text(f)) for f in files]
    # Deepest first; RMDir without /r leaves a folder that still holds the user's own files.
    for folder in sorted(folders, key=lambda f: f.count(os.sep), reverse=True):
        uninstall.append('RMDir "$INSTDIR\\%s"' % windows(nsis_text(folder)))
    with open(os.path.join(work, "install-files.nsh"), "w", encoding="utf-8") as handle:
        handle.write("\n".join(install) + "\n")
    with open(os.path.join(work, "uninstall-files.nsh"), "w", encoding="utf-8") as handle:
        handle.write("\n".join(uninstall) + "\n")


def fingerprint(app, files, nsi, arguments):
    digest = hashlib.sha256(repr(arguments).encode())
    for path in [nsi] + [os.path.join(app, f) for f in files]:
        stat = os.stat(path)
        digest.update(("%s %d %d\n" % (path, stat.st_size, stat.st_mtime_ns)).encode())
    digest.update(open(nsi, "rb").read())
    return digest.hexdigest()


def main():
    parser = argparse.ArgumentParser()
    for name in ("--app", "--nsi", "--version", "--icon", "--out"):
        parser.add_argument(name, required=True)
    parser.add_argument("--makensis", default="makensis")
    arguments = parser.parse_args()

    if not os.path.isfile(os.path.join(arguments.app, "Pellavorne Screen Recorder.exe")):
        sys.exit("make_installer: %s holds no product executable" % arguments.app)
    folders, files = app_files(arguments.app)
    out = os.path.abspath(arguments.out)
    work = os.path.dirname(out)
    os.makedirs(work, exist_ok=True)
    stamp = out + ".stamp"
    mark = fingerprint(arguments.app, files, arguments.nsi, vars(arguments))
    if os.path.isfile(out) and os.path.isfile(stamp) and open(stamp).read() == mark:
        return
    write_lists(arguments.app, folders, files, work)
    command = [arguments.makensis, "-V2", "-DVERSION=" + arguments.version,
               "-DOUT_FILE=" + out, "-DFILES_DIR=" + work,
               "-DICON=" + os.path.abspath(arguments.icon), arguments.nsi]
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    if result.returncode != 0:
        sys.stdout.write(result.stdout)
        sys.exit("make_installer: makensis failed")
    with open(stamp, "w") as handle:
        handle.write(mark)
    print("make_installer: " + out)


if __name__ == "__main__":
    main()
