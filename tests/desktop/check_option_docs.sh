#!/usr/bin/env bash
# Every option that plenvoy-cli --help lists is in its man page and in its bash, zsh and
# fish completion; and the completions complete as a terminal user expects: names with
# blanks as one word, no options after "--", the rename options quoted.
# Usage: check_option_docs.sh BIN_DIR ASSETS_DIR
set -u
bin="$1"
assets=$(cd "$2" && pwd)
export PATH="$bin:$PATH"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# "  -0, --null      end each ..." gives -0 and --null; "--" alone is no option.
mapfile -t options < <(plenvoy-cli --help | grep -oE '^  -[^ ,]+(, -[^ ,]+)?' |
    tr ',' '\n' | tr -d ' ' | grep -vx -- '--')
[ "${#options[@]}" -ge 15 ] || fail "--help lists only ${#options[@]} options"

man_options=$(awk '/^\.TP/ { getline; print }' "$assets/man/plenvoy-cli.1" | sed 's/\\-/-/g')
bash_words=$(bash -c 'source "$1"; COMP_WORDS=(plenvoy-cli -); COMP_CWORD=1; _plenvoy_cli
    printf "%s\n" "${COMPREPLY[@]}"' _ "$assets/completion/plenvoy-cli")
have_fish=false
if command -v fish >/dev/null; then
    have_fish=true
    fish_words=$(fish -c "source '$assets/completion/plenvoy-cli.fish'
        complete -C'plenvoy-cli -'" | cut -f1)
else
    echo "fish not installed: its completion is only checked by text"
fi
for option in "${options[@]}"; do
    word="(^|[^-a-z0-9])${option}([^-a-z0-9]|\$)"
    grep -qE -- "$word" <<<"$man_options" || fail "man page lacks $option"
    grep -qx -- "$option" <<<"$bash_words" || fail "bash completion lacks $option"
    grep -qE -- "$word" "$assets/completion/_plenvoy-cli" || fail "zsh completion lacks $option"
    if $have_fish; then
        grep -qx -- "$option" <<<"$fish_words" || fail "fish completion lacks $option"
    fi
done

if command -v zsh >/dev/null; then
    zsh -n "$assets/completion/_plenvoy-cli" || fail "zsh completion does not parse"
else
    echo "zsh not installed: its completion is not parsed"
fi

# Behaviour, in a folder holding a name with blanks.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/a folder" && touch "$work/two words.txt" "$work/--quiet"
out=$(cd "$work" && bash -c 'source "$1"
    show() { COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _plenvoy_cli
             echo "${#COMPREPLY[@]}:${COMPREPLY[*]}"; }
    show plenvoy-cli two
    show plenvoy-cli --out "a f"
    show plenvoy-cli -- --q
    show plenvoy-cli --option ""
    show plenvoy-cli --option "Add current date to b"' _ "$assets/completion/plenvoy-cli")
expected='1:two words.txt
1:a folder
1:--quiet
72:'
[ "$(head -4 <<<"$out" | sed 's/^72:.*/72:/')" = "$expected" ] || fail "bash completion: $out"
[ "$(tail -1 <<<"$out")" = '1:Add\ current\ date\ to\ beginning\ of\ filename' ] ||
    fail "bash completion of an option text: $(tail -1 <<<"$out")"
if $have_fish; then
    out=$(cd "$work" && fish -c "source '$assets/completion/plenvoy-cli.fish'
        complete -C'plenvoy-cli two'; complete -C'plenvoy-cli -- --q'
        complete -C'plenvoy-cli --option ' | count")
    [ "$out" = $'two words.txt\n--quiet\n72' ] || fail "fish completion: $out"
fi

[ "$failures" -eq 0 ] || exit 1
echo "every option of --help is documented and completed"
