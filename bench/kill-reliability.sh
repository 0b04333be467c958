#!/usr/bin/env bash
# Kills `kemptor-cli process` with SIGKILL at random moments of a run over a generated project and checks
# after every kill that
#   - the project is unchanged (checksums of every file below it),
#   - every file under a final name in the output directory is whole: equal to the file of a complete
#     reference run or to the project's own file of that name (a copy not yet replaced),
# and, after one more run to the end, that no temporary is left and the output equals the reference.
#   bench/kill-reliability.sh [KEMPTOR_CLI] [KILLS=20] [SIZE_MB=200]
set -euo pipefail

cli=${1:-build/src/kemptor-cli}
kills=${2:-20}
size_mb=${3:-200}
cli=$(realpath "$cli")
work=$(mktemp -d "${TMPDIR:-/tmp}/kemptor-kill-XXXXXX")
trap 'rm -rf "$work"' EXIT
export KEMPTOR_CONFIG_DIR=$work/config
mkdir -p "$KEMPTOR_CONFIG_DIR"

# The project: modules, classes and forms of unformatted code (three quarters of the size) and the forms'
# binary .FRX companions (the rest), plus files the project does not name, copied in "all files" mode.
python3 - "$work/proj" "$size_mb" <<'EOF'
import os, random, sys
root, size_mb = sys.argv[1], int(sys.argv[2])
os.makedirs(root)
rng = random.Random(7)
proc = ("' Totals of record {n}\r\nPublic Function Compute{n}(ByVal count As Long) As Long\r\n"
        "Dim i As Long, total As Long, name As String\r\ntotal = 0\r\nFor i = 1 To count\r\n"
        "If i Mod 2 = 0 Then total = total + i: name = \"even\"\r\nSelect Case i\r\nCase 1\r\n"
        "name = \"one\"   ' first\r\nCase Else\r\nname = \"many\"\r\nEnd Select\r\nNext i\r\n"
        "Compute{n} = total\r\nEnd Function\r\n\r\n")
files, lines, budget, n = [], ["Type=Exe"], size_mb << 20, 0
text_budget = budget * 3 // 4
per_file = 512 << 10
i = 0
while text_budget > 0:
    kind = ("Module", "Class", "Form")[i % 3]
    ext = {"Module": ".bas", "Class": ".cls", "Form": ".frm"}[kind]
    name = f"{kind[:3].upper()}{i:04d}{ext}"
    head = {"Module": f"Attribute VB_Name = \"M{i}\"\r\n",
            "Class": f"VERSION 1.0 CLASS\r\nBEGIN\r\nEND\r\nAttribute VB_Name = \"C{i}\"\r\n",
            "Form": f"VERSION 5.00\r\nBegin VB.Form F{i}\r\nEnd\r\nAttribute VB_Name = \"F{i}\"\r\n"}[kind]
    body = [head]
    size = len(head)
    while size < per_file:
        p = proc.format(n=n); n += 1
        body.append(p); size += len(p)
    with open(os.path.join(root, name), "w", newline="") as f:
        f.write("".join(body))
    text_budget -= size
    if kind == "Form":
        lines.append(f"Form={name}")
        with open(os.path.join(root, name[:-4] + ".frx"), "wb") as f:
            f.write(rng.randbytes(per_file))
    else:
        lines.append(f"{kind}={kind[0]}{i}; {name}")
    i += 1
for k in range(50):
    with open(os.path.join(root, f"notes{k}.txt"), "w") as f:
        f.write(f"not named by the project {k}\n" * 1000)
with open(os.path.join(root, "BIG.VBP"), "w", newline="") as f:
    f.write("\r\n".join(lines) + "\r\n")
EOF
echo "project: $(du -sm "$work/proj" | cut -f1) MB, $(ls "$work/proj" | wc -l) files"

checksums() { (cd "$1" && find . -type f -print0 | sort -z | xargs -0 sha256sum); }
run() { "$cli" process --set BackupInformation.BackupAllFiles=1 --output "$1" "$work/proj/BIG.VBP" >/dev/null 2>&1; }

checksums "$work/proj" >"$work/project.sum"
start=$(date +%s.%N)
run "$work/ref"
full=$(python3 -c "print(round($(date +%s.%N) - $start, 2))")
echo "complete run: ${full}s"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for k in $(seq 1 "$kills"); do
  delay=$(python3 -c "import random; print(round(random.uniform(0.05, $full), 2))")
  "$cli" process --set BackupInformation.BackupAllFiles=1 --output "$work/out" "$work/proj/BIG.VBP" \
    >/dev/null 2>&1 &
  pid=$!
  sleep "$delay"
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  checksums "$work/proj" | cmp -s - "$work/project.sum" || fail "kill $k: the project changed"
  partial=0
  temps=0
  if [ -d "$work/out" ]; then
    while IFS= read -r -d '' f; do
      name=${f##*/}
      case $name in .~kemptor.*) temps=$((temps + 1)); continue ;; esac
      cmp -s "$f" "$work/ref/$name" || cmp -s "$f" "$work/proj/$name" || {
        partial=$((partial + 1))
        echo "  not whole: $name"
      }
    done < <(find "$work/out" -maxdepth 1 -type f -print0)
  fi
  [ "$partial" -eq 0 ] || fail "kill $k: $partial files under final names are not whole"
  echo "kill $k after ${delay}s: $(find "$work/out" -maxdepth 1 -type f 2>/dev/null | wc -l) files, $temps temporaries"
done

run "$work/out" || fail "the run after the kills did not succeed"
leftover=$(find "$work/out" -name '.~kemptor.*' | wc -l)
[ "$leftover" -eq 0 ] || fail "$leftover temporaries left after the next run"
diff -r "$work/ref" "$work/out" >/dev/null || fail "the output after the next run differs from the reference"
checksums "$work/proj" | cmp -s - "$work/project.sum" || fail "the project changed"

if [ "$failures" -eq 0 ]; then
  echo "PASS: $kills kills, project unchanged, no partial file under a final name, no temporary left"
else
  echo "FAILED: $failures problems"
  exit 1
fi
