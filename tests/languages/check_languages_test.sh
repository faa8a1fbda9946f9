#!/usr/bin/env bash
# The language check refuses each kind of fault and names it: a text English has that a file
# lacks, an empty text, a text English lacks, another word for a glossary concept, and a line
# that lost its CR. A copy of the shipped files passes.
set -euo pipefail
cd "$(dirname "$0")/../.."

source tests/support/checker_cases.sh

# case <what> <file> <old text> <new text> <text the report must hold>: copies the shipped
# files, replaces the old text by the new one in the file (kept in its own encoding), runs the
# check and expects it to fail naming the fault. An empty <file> runs the copy unchanged.
case_of() {
  local what=$1 file=$2 old=$3 new=$4 expected=$5
  rm -rf "$work/languages"
  cp -r resources/languages "$work/languages"
  if [[ -n $file ]]; then
    python3 - "$work/languages/$file" "$old" "$new" <<'PY'
import sys
unescape = lambda s: s.replace("\\r", "\r").replace("\\n", "\n")
path, old, new = sys.argv[1], unescape(sys.argv[2]), unescape(sys.argv[3])
data = open(path, "rb").read()
wide = data[:2] == b"\xff\xfe"
text = data[2:].decode("utf-16-le") if wide else data.decode("ascii")
assert old in text, f"{old!r} not in {path}"
text = text.replace(old, new, 1)
open(path, "wb").write(b"\xff\xfe" + text.encode("utf-16-le") if wide else text.encode("ascii"))
PY
  fi
  expect_check "$what" "$expected" python3 tools/check_languages.py "$work/languages"
}

case_of "the shipped files pass" "" "" "" ""
case_of "a text English has is missing" spanish.lng 'IDS_STRING141="Duración"\r\n' "" \
  'spanish.lng: lacks IDS_STRING141'
case_of "a text is empty" chinesetraditional.lng 'IDS_STRING1630="選擇「是」進行格式化，選擇「否」取消。"' 'IDS_STRING1630=""' \
  'chinesetraditional.lng: IDS_STRING1630 is empty'
case_of "a text English lacks" german.lng '\r\nIDS_STRING101=' '\r\nIDS_STRING999="Extra"\r\nIDS_STRING101=' \
  'german.lng: has IDS_STRING999, which English lacks'
case_of "another word for a concept" french.lng '"Guidage vocal"' '"Guide vocal"' \
  'french.lng: IDS_STRING217 does not say "guidage vocal" for voice guidance'
case_of "the camera called a camcorder" italian.lng 'file della dashcam' 'file della videocamera' \
  'italian.lng: IDS_STRING405 does not say "dashcam" for camera'
case_of "a line without its CR" russian.lng '"Язык"\r\n' '"Язык"\n' \
  'russian.lng: a line does not end with CR LF'

finish "language check: every case refused as expected"
