#!/usr/bin/python3
"""From the list of the program's files, the installer's lines that put each
in place and the uninstaller's that remove each (and then its folders, if
empty): the uninstaller removes what was installed, and nothing else."""
import sys

files = [line.strip() for line in open(sys.argv[1]) if line.strip()]
folders = sorted({f.rsplit("/", 1)[0] for f in files if "/" in f}, key=lambda d: -d.count("/"))
with open(sys.argv[2], "w") as install:
    for f in files:
        where, _, name = f.rpartition("/")
        install.write('SetOutPath "$INSTDIR%s"\n' % ("\\" + where.replace("/", "\\") if where else ""))
        install.write('File "${STAGE}/%s"\n' % f)
with open(sys.argv[3], "w") as uninstall:
    for f in files:
        uninstall.write('Delete "$INSTDIR\\%s"\n' % f.replace("/", "\\"))
    for d in folders:
        uninstall.write('RMDir "$INSTDIR\\%s"\n' % d.replace("/", "\\"))
