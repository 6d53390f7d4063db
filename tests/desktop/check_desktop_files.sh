#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what the install puts where the
# desktop looks: the layout, the versions, and each file with its ecosystem's validator
# when that validator is installed.
set -u
build="$1"
prefix="$2"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install"

for f in bin/plenvoy bin/plenvoy-cli share/plenvoy/HAND-M.CUR share/plenvoy/drag.ico \
         share/plenvoy/x/o.cjs share/applications/org.plenvoy.Plenvoy.desktop \
         share/metainfo/org.plenvoy.Plenvoy.metainfo.xml \
         share/icons/hicolor/256x256/apps/org.plenvoy.Plenvoy.png \
         share/kio/servicemenus/plenvoy.desktop share/nemo/actions/plenvoy.nemo_action \
         share/file-manager/actions/plenvoy.desktop share/man/man1/plenvoy.1.gz \
         share/man/man1/plenvoy-cli.1.gz share/bash-completion/completions/plenvoy-cli \
         share/zsh/vendor-completions/_plenvoy-cli \
         share/fish/vendor_completions.d/plenvoy-cli.fish \
         share/doc/plenvoy/copyright share/doc/plenvoy/changelog.Debian.gz; do
    [ -e "$prefix/$f" ] || fail "missing $f"
done
[ -n "$(ls -A "$prefix/share/plenvoy/Samples" 2>/dev/null)" ] || fail "no samples installed"
# Installed for all users, KDE wants the service menu without the executable bit.
[ -x "$prefix/share/kio/servicemenus/plenvoy.desktop" ] && fail "Dolphin's menu is executable"

version=$(sed -n 's/^project(Plenvoy VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")
[ "$("$prefix/bin/plenvoy" --version)" = "plenvoy $version" ] || fail "plenvoy --version"
[ "$("$prefix/bin/plenvoy-cli" --version)" = "plenvoy-cli $version" ] || fail "plenvoy-cli --version"
[ "$("$prefix/bin/plenvoy-cli" --list-options | wc -l)" = 36 ] || fail "installed plenvoy-cli"
grep -q '^Exec=plenvoy %F$' "$prefix/share/applications/org.plenvoy.Plenvoy.desktop" ||
    fail "entry Exec"
# The entry opens no type of file by default: the file-manager actions and "Open With" lead
# to it.
grep -q '^MimeType' "$prefix/share/applications/org.plenvoy.Plenvoy.desktop" &&
    fail "the entry must claim no file type"
for action in share/kio/servicemenus/plenvoy.desktop share/nemo/actions/plenvoy.nemo_action \
              share/file-manager/actions/plenvoy.desktop; do
    grep -q '^Name=Make stamped copies with Plenvoy$' "$prefix/$action" || fail "$action name"
    grep -q '^Exec=plenvoy %F$' "$prefix/$action" || fail "$action Exec"
done

# The desktop speaks the window's languages.
for language in de fr es pt_BR it; do
    grep -q "^Comment\[$language\]=" "$prefix/share/applications/org.plenvoy.Plenvoy.desktop" ||
        fail "entry Comment[$language]"
    grep -q "<summary xml:lang=\"$language\">" "$prefix/share/metainfo/org.plenvoy.Plenvoy.metainfo.xml" ||
        fail "metadata summary in $language"
done
grep -q '<translation type="qt">plenvoy</translation>' \
    "$prefix/share/metainfo/org.plenvoy.Plenvoy.metainfo.xml" || fail "metadata translation"

if command -v desktop-file-validate >/dev/null; then
    out=$(desktop-file-validate "$prefix/share/applications/org.plenvoy.Plenvoy.desktop" 2>&1)
    [ -z "$out" ] || fail "desktop-file-validate: $out"
else
    echo "desktop-file-validate not installed: entry not validated"
fi
if command -v appstreamcli >/dev/null; then
    out=$(appstreamcli validate --no-net --explain "$prefix/share/metainfo/org.plenvoy.Plenvoy.metainfo.xml" 2>&1) ||
        fail "appstreamcli: $out"
else
    echo "appstreamcli not installed: metadata not validated"
fi
if command -v groff >/dev/null; then
    for page in "$prefix"/share/man/man1/*.1.gz; do
        out=$(zcat "$page" | groff -man -ww -z 2>&1)
        [ -z "$out" ] || fail "groff $(basename "$page"): $out"
    done
else
    echo "groff not installed: man pages not rendered"
fi

# The completion offers the options, and every index and text after --option.
out=$(PATH="$prefix/bin:$PATH" bash -c '
    source "$1"
    COMP_WORDS=(plenvoy-cli --option ""); COMP_CWORD=2; _plenvoy_cli; echo "${#COMPREPLY[@]}"
    COMP_WORDS=(plenvoy-cli --qu); COMP_CWORD=1; _plenvoy_cli; echo "${COMPREPLY[*]}"
' _ "$prefix/share/bash-completion/completions/plenvoy-cli")
[ "$out" = $'72\n--quiet' ] || fail "completion: $out"

[ "$failures" -eq 0 ] || exit 1
echo "all desktop files in place and valid"
