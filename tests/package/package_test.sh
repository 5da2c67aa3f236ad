#!/usr/bin/env bash
# The installation as the desktop and the package manager see it.
#   package_test.sh tree BUILD   install the build tree into a temporary root: the files
#                                land in their places, the commands start, the desktop
#                                entry, metainfo and manual pages pass their checkers
#   package_test.sh deb BUILD    the Debian package: no lintian error, dependencies from
#                                shlibdeps, no maintainer scripts, and dpkg installs it into
#                                an empty root and removes it without leaving a file behind
set -euo pipefail
mode=$1
build=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Every file of the installation lies below one of these folders, and these must be there.
allowed='^usr/(games/torvella(-cli)?|lib/torvella/.+|share/(applications/torvella\.desktop|metainfo/com\.quorlix\.torvella\.metainfo\.xml|icons/hicolor/[0-9]+x[0-9]+/apps/torvella\.png|man/man6/torvella(-cli)?\.6\.gz|doc/torvella/(copyright|changelog\.gz)|torvella/screenshots/[a-z]+\.png))$'
required=(
  usr/games/torvella usr/games/torvella-cli
  usr/lib/torvella/torvella usr/lib/torvella/pomq.qch usr/lib/torvella/libtorvella-audio.so usr/lib/torvella/libtorvella-help.so
  usr/share/applications/torvella.desktop usr/share/metainfo/com.quorlix.torvella.metainfo.xml
  usr/share/man/man6/torvella.6.gz usr/share/man/man6/torvella-cli.6.gz
  usr/share/doc/torvella/copyright usr/share/doc/torvella/changelog.gz
)
for size in 16 22 24 32 48 64 128 256; do
  required+=("usr/share/icons/hicolor/${size}x${size}/apps/torvella.png")
done

check_layout() {
  local root=$1 f
  for f in "${required[@]}"; do
    [[ -f "$root/$f" ]] || fail "$f is not installed"
  done
  [[ -x "$root/usr/games/torvella" && -x "$root/usr/games/torvella-cli" && -x "$root/usr/lib/torvella/torvella" ]] ||
    fail "a command is not executable"
  ls "$root"/usr/lib/torvella/*.mid >/dev/null 2>&1 || fail "no music file in the program folder"
  local stray
  stray=$(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | grep -Ev "$allowed" || true)
  [[ -z "$stray" ]] || fail "files outside the game's places: $stray"
}

case $mode in
tree)
  root=$work/root
  DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
  check_layout "$root"
  desktop-file-validate "$root/usr/share/applications/torvella.desktop"
  # The metainfo, and that its launchable desktop entry is installed beside it; not even
  # a pedantic note.
  report=$(appstreamcli validate-tree --no-net --pedantic "$root" 2>&1) || fail "metainfo: $report"
  ! grep -Eq '^[EWIP]: ' <<<"$report" || fail "metainfo: $report"
  # Its screenshots are in the package, under the names the metainfo publishes them by.
  metainfo=$root/usr/share/metainfo/com.quorlix.torvella.metainfo.xml
  shots=$(grep -o '<image>[^<]*</image>' "$metainfo" | sed 's|<image>.*/screenshots/\(.*\)</image>|\1|')
  [[ -n "$shots" ]] || fail "the metainfo names no screenshot"
  for shot in $shots; do
    [[ -f "$root/usr/share/torvella/screenshots/$shot" ]] || fail "screenshot $shot is not in the package"
  done
  # One German word for each thing: the game's words in the metainfo too (the English
  # "tableau" is written small).
  ! grep -nE 'bunte Torte|Ablagepl|Tableau' "$metainfo" || fail "the German metainfo uses words the game does not"
  for page in torvella torvella-cli; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$root/usr/share/man/man6/$page.6.gz" 2>&1 >/dev/null)
    [[ -z "$warnings" ]] || fail "manual page $page: $warnings"
  done
  # The installed commands work from where they are: the launcher finds the program
  # folder (the game ends after its first paint), torvella-cli deals.
  mkdir -p "$work/config/Quorlix/Torvella" && printf '[common]\ntongue=0\n' >"$work/config/Quorlix/Torvella/V1.ini"
  XDG_CONFIG_HOME=$work/config HOME=$work QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
    TORVELLA_EXIT_AFTER_FIRST_PAINT=1 timeout 60 "$root/usr/games/torvella" || fail "the installed game did not start"
  "$root/usr/games/torvella-cli" deal 0 | grep -q '"seed":0' || fail "the installed torvella-cli does not deal"
  ;;
deb)
  cpack --config "$build/CPackConfig.cmake" -B "$work/out" >/dev/null 2>&1 || fail "cpack failed"
  deb=$(ls "$work"/out/torvella_*.deb)
  depends=$(dpkg-deb -f "$deb" Depends)
  for lib in libqt6widgets6 libqt6help6 libsdl2-mixer-2.0-0 libc6; do
    [[ "$depends" == *"$lib ("* ]] || fail "Depends lacks $lib with its version: $depends"
  done
  # Errors fail the test; warnings and notes are shown in its log.
  report=$(lintian --display-info --pedantic "$deb" 2>&1 | grep -v '^running with root privileges' || true)
  [[ -n "$report" ]] && printf 'lintian:\n%s\n' "$report"
  ! grep -q '^E: ' <<<"$report" || fail "lintian reports errors"

  root=$work/root admin=$work/admin
  mkdir -p "$root" "$admin/updates" "$admin/info" && touch "$admin/status"
  [[ -z "$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -E 'inst$|rm$')" ]] || fail "the package has maintainer scripts"
  dpkg=(dpkg --root="$root" --admindir="$admin" --force-not-root)
  # What the package holds, unpacked as it is ...
  dpkg-deb -x "$deb" "$work/contents"
  check_layout "$work/contents"
  # ... and installed by dpkg (which may leave out manual pages and documents where the
  # machine's dpkg is told to).
  "${dpkg[@]}" --force-depends -i "$deb" >/dev/null 2>&1 || fail "dpkg cannot install the package"
  [[ -x "$root/usr/lib/torvella/torvella" && -x "$root/usr/games/torvella" ]] || fail "dpkg did not install the game"
  # A plain remove, as "apt remove" does: the package owns no configuration and runs no
  # script, so nothing of it may stay, not even in dpkg's records.
  "${dpkg[@]}" --remove torvella >/dev/null || fail "dpkg cannot remove the package"
  left=$(cd "$root" && find . -mindepth 1)
  [[ -z "$left" ]] || fail "left behind after removal: $left"
  ! "${dpkg[@]}" -s torvella >/dev/null 2>&1 || fail "dpkg still lists the package after removal"
  ;;
*) fail "unknown mode $mode" ;;
esac
echo "package $mode: ok"
