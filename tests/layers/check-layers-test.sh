#!/usr/bin/env bash
# The layer check passes a tree that keeps the layers and names each include that breaks them.
set -euo pipefail
check=$1
tree=$(mktemp -d "${TMPDIR:-/tmp}/marrowdale-layers-XXXXXX")
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree"/{platform,fsutil,mainwindow,protocol,wordhost,nconvert,tests/support}
echo '#include "platform/Dialogs.h"' > "$tree/fsutil/Main.cpp"
echo '#include "fsutil/Main.h"' > "$tree/mainwindow/Form1.cpp"
echo '#include "protocol/Message.h"' > "$tree/wordhost/HostServer.cpp"
echo '#include "mainwindow/Form1.h"' > "$tree/tests/support/FakeWord.cpp"
"$check" "$tree" || { echo "a tree in layer order was refused"; exit 1; }

echo '#include "mainwindow/Form1.h"' >> "$tree/platform/Shell.cpp"     # a lower layer up
echo '#include "wordhost/LibreOfficeSession.h"' > "$tree/protocol/Message.cpp"  # protocol into the host
echo '#include "tests/support/FakeWord.h"' > "$tree/nconvert/main.cpp"  # a program into the tests
if output=$("$check" "$tree" 2>&1); then echo "includes against the layers passed"; exit 1; fi
for expected in "platform/Shell.cpp: mainwindow/Form1.h" "protocol/Message.cpp: wordhost/LibreOfficeSession.h" \
                "nconvert/main.cpp: tests/support/FakeWord.h"; do
  grep -qxF "$expected" <<<"$output" || { echo "not named: $expected"; echo "$output"; exit 1; }
done
