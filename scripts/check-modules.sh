#!/usr/bin/env bash
# Checks the two built modules with tools that are not ours: each exports PluginMain alone, and the Windows
# module carries its resources as real PE resources under the numbers the host loads them by.
set -euo pipefail
cd "$(dirname "$0")/.."
fail() { echo "check-modules: $*" >&2; exit 1; }

linux=build/linux/KT07_Zigzag.aip
windows=build/windows/KT07_Zigzag.aip

exports=$(nm -D --defined-only "$linux" | awk '{print $3}')
[ "$exports" = "PluginMain" ] || fail "$linux exports: $exports"

pe_exports=$(i686-w64-mingw32-objdump -p "$windows" | awk '/\[Ordinal\/Name Pointer\] Table/{f=1;next} f&&NF==0{f=0} f{print $NF}')
[ "$pe_exports" = "PluginMain" ] || fail "$windows exports: $pe_exports"
i686-w64-mingw32-objdump -f "$windows" | grep -q 'file format pei-i386' || fail "$windows is not a 32-bit PE"

listing=$(wrestool -l "$windows")
expect() { grep -q -- "$1" <<<"$listing" || fail "$windows lacks $2 (wrestool -l said:\n$listing)"; }
expect "--type='PIPL' --name=16000 --language=1024" "the property list 16000"
expect "--type=12 --name=16001 --language=1024" "the cursor group 16001"
expect "--type=14 --name=16051 --language=1024" "the icon group 16051"
for dialog in 16050 16051 16201; do expect "--type=5 --name=$dialog --language=1024" "dialog $dialog"; done
for bitmap in $(seq 100 162); do expect "--type=2 --name=$bitmap --language=1024" "bitmap $bitmap"; done
expect "--type=16 --name=1 --language=1024" "the version block"
# String numbers 16050..16062 lie in string-table block 16050 / 16 + 1 = 1004.
expect "--type=6 --name=1004 --language=1024" "the error message list"
echo "check-modules: both modules export PluginMain alone; the Windows module carries every resource"
