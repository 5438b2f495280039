#!/usr/bin/env python3
"""Prints the plain text of what a Windows GUI program wrote to its console
under Wine, from a terminal transcript (script -f). Under Wine such a
program's log reaches a pipe nowhere, but a terminal gets it as Wine's
console draws it: cursor moves for blanks, escape sequences, CR LF."""
import re
import sys

data = open(sys.argv[1], "rb").read().decode("utf-8", "replace")
data = data.replace("\x1b[?25l", "").replace("\x1b[?25h", "")
data = re.sub(r"\x1b\[K\x1b\[(\d+)C", lambda m: " " * int(m.group(1)), data)
data = re.sub(r"\x1b\[(\d+)C", lambda m: " " * int(m.group(1)), data)
data = re.sub(r"\x1b\][^\x07]*\x07", "", data)
data = re.sub(r"\x1b\[[0-9;?]*[A-Za-z]", "", data)
data = data.replace("\r\n", "\n").replace("\r", "\n")
sys.stdout.write("".join(line + "\n" for line in data.split("\n") if line.strip()))
