#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang and runs each for a while over seeds from a
# built run folder's Resources (qrvlzo files, zip archives, string tables, level files) and from saves written by
# the run folder's save driver; small built-in seeds stand in where the run folder has none. No
# input may allocate more than 256 MiB.
#   scripts/fuzz.sh [seconds per target, default 30] [run folder, default build/release/run]
# Exits non-zero when a target crashes or a sanitizer reports anything.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
run_dir=${2:-$root/build/release/run}
out=$root/build/fuzz

CC=clang CXX=clang++ cmake -S "$root/tests/fuzz" -B "$out" -G Ninja > /dev/null
cmake --build "$out"

resources=$run_dir/Resources
seed_limit=1048576  # bytes; larger files make slow inputs

# Files below Resources whose first bytes are the given prefix (any extension).
files_starting_with() {
  local prefix=$1
  [[ -d "$resources" ]] || return 0
  find "$resources" -type f -size -${seed_limit}c -print0 | while IFS= read -r -d '' file; do
    if [[ "$(head -c ${#prefix} "$file" | tr -d '\0')" == "$prefix" ]]; then printf '%s\n' "$file"; fi
  done
}

# Copies the listed files (one per line on stdin) into a seed folder, named by their path below
# Resources; prints how many.
collect() {
  local dir=$1 count=0 file
  while IFS= read -r file; do
    [[ -n "$file" ]] || continue
    cp "$file" "$dir/$(printf '%s' "${file#$resources/}" | tr '/ ' '__')"
    count=$((count + 1))
  done
  echo $count
}

seed_qrvlzo() {
  local dir=$1 n
  n=$(files_starting_with qrvlzo | collect "$dir")
  # A few plain files too: the reader takes those as they are.
  if [[ -d "$resources" ]]; then
    find "$resources" -type f -name '*.xml' -size -65536c | sort | sed -n '1,3p' | collect "$dir" > /dev/null
  fi
  if [[ $n -eq 0 ]]; then
    printf 'qrvlzo\x05\x00\x00\x00\x16hello\x11\x00\x00' > "$dir/literal"
    printf 'qrvlzo\x2c\x01\x00\x00\x0c\x3c\x72\x6f\x77\x3e\x3c\x63\x65\x6c\x6c\x3e\x61\x62\x3c\x2f\x80\x01\x04\x3c\x2f\x72\x6f\x77\x3e\x0a\x20\xe3\x68\x00\x0a\x6c\x6c\x3e\x3c\x2f\x72\x6f\x77\x3e\x0a\x3c\x72\x6f\x11\x00\x00' > "$dir/matches"
    printf '<plain/>' > "$dir/plain"
  fi
}

seed_zip_member() {
  local dir=$1 n
  n=$(files_starting_with $'PK\x03' | collect "$dir")
  if [[ $n -eq 0 ]]; then
    # Folder entry, deflated, stored, and both encrypted with the game's password.
    printf '\x50\x4b\x03\x04\x14\x00\x00\x00\x00\x00\x00\x00\x20\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x04\x00\x00\x00\x64\x69\x72\x2f\x50\x4b\x03\x04\x14\x00\x00\x00\x08\x00\x00\x00\x20\x00\x1c\xbb\x76\x68\x0f\x00\x00\x00\x1a\x00\x00\x00\x09\x00\x00\x00\x64\x69\x72\x2f\x61\x2e\x78\x6d\x6c\xb3\x49\xb4\x2b\x49\xad\x28\x51\x40\x25\x6c\xf4\x13\xed\x00\x50\x4b\x03\x04\x14\x00\x00\x00\x00\x00\x00\x00\x20\x00\x0b\xf9\x43\x56\x06\x00\x00\x00\x06\x00\x00\x00\x05\x00\x00\x00\x62\x2e\x62\x69\x6e\x73\x74\x6f\x72\x65\x64\x50\x4b\x03\x04\x14\x00\x01\x00\x08\x00\x00\x00\x20\x00\xa2\xe0\x1d\x10\x1d\x00\x00\x00\x1b\x00\x00\x00\x05\x00\x00\x00\x63\x2e\x78\x6d\x6c\xef\xc9\xb8\x23\x1a\xc2\x42\x10\xee\xe2\xc7\xaf\x5a\x63\xbe\xc3\x4f\x1d\x84\x3c\x3b\x14\xb0\x56\x1b\xce\x3c\x6f\xdb\x50\x4b\x03\x04\x14\x00\x01\x00\x00\x00\x00\x00\x20\x00\x7e\xd2\xa3\x4b\x19\x00\x00\x00\x0d\x00\x00\x00\x05\x00\x00\x00\x64\x2e\x62\x69\x6e\xad\x90\x79\xea\xa2\xed\x33\x70\x0e\x7c\x09\x21\xe2\x61\x82\x6b\x20\xb7\x8e\x18\xd7\xae\xdc\x50\x24\x50\x4b\x01\x02\x00\x00\x14\x00\x00\x00\x00\x00\x00\x00\x20\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x04\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x64\x69\x72\x2f\x50\x4b\x01\x02\x00\x00\x14\x00\x00\x00\x08\x00\x00\x00\x20\x00\x1c\xbb\x76\x68\x0f\x00\x00\x00\x1a\x00\x00\x00\x09\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x22\x00\x00\x00\x64\x69\x72\x2f\x61\x2e\x78\x6d\x6c\x50\x4b\x01\x02\x00\x00\x14\x00\x00\x00\x00\x00\x00\x00\x20\x00\x0b\xf9\x43\x56\x06\x00\x00\x00\x06\x00\x00\x00\x05\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x58\x00\x00\x00\x62\x2e\x62\x69\x6e\x50\x4b\x01\x02\x00\x00\x14\x00\x01\x00\x08\x00\x00\x00\x20\x00\xa2\xe0\x1d\x10\x1d\x00\x00\x00\x1b\x00\x00\x00\x05\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x81\x00\x00\x00\x63\x2e\x78\x6d\x6c\x50\x4b\x01\x02\x00\x00\x14\x00\x01\x00\x00\x00\x00\x00\x20\x00\x7e\xd2\xa3\x4b\x19\x00\x00\x00\x0d\x00\x00\x00\x05\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\xc1\x00\x00\x00\x64\x2e\x62\x69\x6e\x50\x4b\x05\x06\x00\x00\x00\x00\x05\x00\x05\x00\x02\x01\x00\x00\xfd\x00\x00\x00\x00\x00' > "$dir/members.zip"
  fi
}

seed_string_table() {
  local dir=$1 n=0
  if [[ -d "$resources" ]]; then n=$(find "$resources" -type f -name 'strings.xml' | collect "$dir"); fi
  if [[ $n -eq 0 ]]; then
    printf '<?xml version="1.0"?>\n<Workbook><Worksheet><Table><Row><Cell><Data>key</Data></Cell><Cell><Data>value</Data></Cell></Row><Row><Cell><Data>one</Data></Cell></Row></Table></Worksheet></Workbook>\n' > "$dir/strings.xml"
  fi
  # Always, as a spreadsheet program saves it: prefixed elements, a skipped cell, a line break.
  printf '<?xml version="1.0"?>\n<ss:Workbook xmlns:ss="urn:schemas-microsoft-com:office:spreadsheet"><ss:Worksheet ss:Name="en"><ss:Table><ss:Column ss:Width="90"/><ss:Row><ss:Cell ss:Index="2"><ss:Data ss:Type="String">no key</ss:Data></ss:Cell></ss:Row><ss:Row><ss:Cell><ss:Data>k</ss:Data></ss:Cell><ss:Cell><ss:Data>a&#10;b</ss:Data></ss:Cell></ss:Row></ss:Table></ss:Worksheet></ss:Workbook>\n' > "$dir/strings_prefixed.xml"
}

seed_level_file() {
  local dir=$1 n=0
  if [[ -d "$resources" ]]; then
    n=$(find "$resources" -mindepth 2 -maxdepth 2 -type f -name 'level*.xml' \( -path '*/pack*' -o -path '*/tutorial*' \) |
      sort | collect "$dir")
  fi
  if [[ $n -eq 0 ]]; then
    printf '<level><settings elSize="60 60" grid="2 2" block="5 5" shiftBlock="-4 -4" position="580 420" bonuses="1"><block><FILE>data/share/board block_60.png</FILE></block><selection_yes/><selection_no/></settings><gElements><cell type="100"/><cell type="101"/><cell/><cell type="100"/></gElements></level>\n' > "$dir/level.xml"
  fi
}

seed_config() {
  local dir=$1 file
  for file in game.xml data/share/main/other/editions.xml data/share/main/other/gameplay.xml; do
    [[ -f "$resources/$file" ]] && printf '%s\n' "$resources/$file" | collect "$dir" > /dev/null
  done
  # The user's copy as the game saves it.
  printf '<?xml version="1.0"?>\n<game>\n\t<param key="edition" value="desktop" />\n\t<param key="fullscreen" value="1" />\n\t<param key="lang" value="en" />\n</game>\n' > "$dir/user_game.xml"
}

# Profiles: the saves of two rounds written by the game's own save code (the driver of the kill
# test, when the run folder has it), the content's default player files, and a few made here.
save_round_seeds() {
  local work=$1 round
  rm -rf "$work"
  [[ -x "$run_dir/e2e_save_kill_driver" ]] || return 0
  for round in 1 6; do "$run_dir/e2e_save_kill_driver" write "$work/round$round" "$round" > /dev/null 2>&1 || true; done
}

# Copies the file named $2 of every saved round into the seed folder $1.
copy_round_files() {
  local dir=$1 name=$2 file
  for file in "$out/seedwork"/round*/"$name"; do
    [[ -f "$file" ]] && cp "$file" "$dir/$(basename "$(dirname "$file")")-$name"
  done
  return 0
}

seed_player_list() {
  local dir=$1
  copy_round_files "$dir" players.xml
  printf '<Players current=""><player name="A"><playeritems><item name="x" count="1"/><other count="2"/><item name="y" count="3"/></playeritems></player><player name="A" sound_volume="9"/></Players>\n' > "$dir/duplicates.xml"
  printf '<Players current="B"><player name="A"/><!-- c --><player name="B" game_cursor="y"><health count="1" time_refill_heart="600"><lost_name value="2147483653"/></health></player></Players>\n' > "$dir/current.xml"
}

seed_player_xml() {
  local dir=$1
  copy_round_files "$dir" player.xml
  if [[ -d "$resources" ]]; then find "$resources" -type f -name 'player.xml' | collect "$dir" > /dev/null; fi
  # The form written before lost times took 64 bits, and a profile without hearts.
  printf '<player name="old" sound_volume="80" music_volume="33.5" passed_tutorial="false" game_cursor="true" inapp_bought="false"><playeritems><item name="life" count="5"/><item name="error" count="3"/></playeritems><levels><level name="pack1.l1"><param key="stars" value="3"/></level></levels><packs><pack name="pack1"><param key="is_lock" value="false"/></pack></packs><health increment="true" count="3" countdown="12.5" time_refill_heart="1800"><lost_name value="1699999000"/><lost_name value="1700000800"/></health><statistic><param key="money" value="10"/></statistic></player>\n' > "$dir/old.xml"
  printf '<player name="nohearts"><playeritems><item name="life" count="5"/></playeritems></player>\n' > "$dir/nohearts.xml"
}

seed_player_binary() {
  local dir=$1
  copy_round_files "$dir" profile.bin
  # Name "A", volumes 50 and 50, flags, one item "life" 5, then purchase, hearts and one lost time.
  printf '\x01\x00\x00\x00A\x00\x00\x48\x42\x00\x00\x48\x42\x00\x01\x01\x00\x00\x00\x04\x00\x00\x00life\x05\x00\x00\x00\x00\x01\x04\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x08\x07\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x05\x00\x00\x80\x00\x00\x00\x00' > "$dir/small.bin"
}

save_round_seeds "$out/seedwork"

# The game catalogues the builder writes, and small ones of each kind.
catalogue=$run_dir/Resources/data/share/main/other
seed_catalogue() {
  local dir=$1 file=$2 fallback=$3
  if [[ -f "$catalogue/$file" ]]; then cp "$catalogue/$file" "$dir/$file"; fi
  printf '%s' "$fallback" > "$dir/small.xml"
}
seed_store_file() {
  seed_catalogue "$1" store.xml '<store><note/><item name="error" value="3"><x/><item name="error" value="5"/></item><other name="life_refill" endless="yes"/><item/></store>'
}
seed_purchase_file() {
  seed_catalogue "$1" inapp.xml '<inapp app_key="k"><item name="a" product_id="p" type="C"/><other/><item name="b" product_id="p" type="n"/></inapp>'
}
seed_ad_file() {
  seed_catalogue "$1" ad.xml '<ad><n><param key="name" value="adnet2"/></n><n><param key="name" value="adnet2"/></n><n><param key="name" value="x"/></n></ad>'
}
# The probe is read off the input's last 15 bytes: each file gets them.
seed_trophy_file() {
  seed_catalogue "$1" trophies.xml '<trophies><t name="a" bonus="5"><image_open TEXTURE="x"><ANIMATION grid="2 2" frames="4"/></image_open><condition name="money" value_type="int" value="0" operator="&gt;="/></t></trophies>'
  local file
  for file in "$1"/*; do printf '\x00\x00\x80\x3f\x07\x00\x00\x00\x64\x00\x00\x00\x01\x00\x00' >> "$file"; done
}

# Every pack's description and level grid the builder wrote, and a small one of each.
seed_pack_files() {
  local dir=$1 file=$2 fallback=$3 n=0
  if [[ -d "$resources" ]]; then
    n=$(find "$resources" -mindepth 3 -maxdepth 3 -type f -path "*/main/$file" \( -path '*/pack*' -o -path '*/tutorial*' \) |
      sort | collect "$dir")
  fi
  [[ $n -gt 0 ]] || printf '%s' "$fallback" > "$dir/small.xml"
}
seed_pack_description() {
  seed_pack_files "$1" pack_item.xml '<pack size="10 10"><GUI><WLABEL ID="6" TEXT="t"/></GUI><property><param key="name" value="x"/><param key="is_lock" value="true"/></property></pack>'
}
seed_pack_pages() {
  seed_pack_files "$1" pages.xml '<pages cols="2" rows="1" turn_type="MOMENTAL"><level size="5 5"/><level/><x/></pages>'
}

# The loading screen's description the builder wrote, and a small one.
seed_loader_screen() {
  local dir=$1
  if [[ -f "$catalogue/screen_loading.xml" ]]; then cp "$catalogue/screen_loading.xml" "$dir/"; fi
  printf '%s' '<s><background><FILE>a.png</FILE></background><animation><FILE>b.png</FILE><ANIMATION grid="2 1" frames="2" fps="8" loop="true"/></animation><splashes time_per_splash="0.5" time_fade="0.25" back_color="255 1 2 3"><x><FILE>pictures/splash.png</FILE><POS>1 2</POS><HOT_SPOT/></x><y><FILE>missing.png</FILE></y><z><FILE>broken.png</FILE></z></splashes></s>' > "$dir/small.xml"
}

# Seeds for every target first, one after another (the seed helpers share work folders).
mkdir -p "$out/artifacts" "$out/logs"
for exe in "$out"/*_fuzz; do
  [[ -x "$exe" ]] || continue
  target=$(basename "$exe")
  name=${target%_fuzz}
  rm -rf "$out/seeds/$target"
  mkdir -p "$out/seeds/$target" "$out/corpus/$target"
  if declare -F "seed_$name" > /dev/null; then "seed_$name" "$out/seeds/$target"; fi
done

# One target's run; writes its report beside its log and fails on a crash or a sanitizer report.
# The engine's readers accept data up to 256 MiB plus a terminating byte, so a larger allocation
# is a fault.
run_target() {
  local exe=$1 target log
  target=$(basename "$exe")
  log=$out/logs/$target.log
  {
    echo "== $target: $seconds s over $(ls "$out/seeds/$target" | wc -l) seeds"
    if ! ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "$exe" -max_total_time="$seconds" -malloc_limit_mb=257 -print_final_stats=1 \
        -artifact_prefix="$out/artifacts/$target-" "$out/corpus/$target" "$out/seeds/$target" > "$log" 2>&1; then
      echo "   FAILED (see $log)"
      tail -n 40 "$log"
      exit 1
    elif grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:' "$log"; then
      echo "   sanitizer report (see $log)"
      exit 1
    fi
    grep -E '^stat::number_of_executed_units' "$log" | sed 's/^/   /' || true
  } > "$log.report" 2>&1
}

report() {  # prints a finished target's report, or says it has none
  cat "$out/logs/$(basename "$1").log.report" 2> /dev/null || echo "== $(basename "$1"): no report"
}

# The runs go side by side, a few at a time (each is one process on one core).
parallel=${QUORVEL_FUZZ_JOBS:-4}
status=0
pids=()
targets=()
for exe in "$out"/*_fuzz; do
  [[ -x "$exe" ]] || continue
  (run_target "$exe") &
  pids+=($!)
  targets+=("$exe")
  if ((${#pids[@]} >= parallel)); then
    wait "${pids[0]}" || status=1
    report "${targets[0]}"
    pids=("${pids[@]:1}")
    targets=("${targets[@]:1}")
  fi
done
for i in "${!pids[@]}"; do
  wait "${pids[$i]}" || status=1
  report "${targets[$i]}"
done
exit $status
