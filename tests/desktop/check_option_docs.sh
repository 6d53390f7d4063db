#!/usr/bin/env bash
# plenvoy-cli's options, as its option table declares them, are the options of its man page
# and of its bash, zsh and fish completion, both ways: every name and every value word of
# the table is there, and nothing else is. And the completions complete as a terminal user
# expects: names with blanks as one word, no options after "--", the rename options quoted.
# Usage: check_option_docs.sh BIN_DIR ASSETS_DIR
set -u
bin=$(cd "$1" && pwd)
assets=$(cd "$2" && pwd)
export PATH="$bin:$PATH"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The table: "NAME" lines, and "NAME WORD" for each value word of a NAME.
table=$("$bin/cli_option_table") || fail "cli_option_table did not run"
names=$(cut -f1 <<<"$table")
words=$(awk -F'\t' 'NF == 2 { n = split($2, w, " "); for (i = 1; i <= n; i++) print $1 " " w[i] }' \
    <<<"$table")
[ "$(wc -l <<<"$names")" -ge 20 ] || fail "the table holds only $(wc -l <<<"$names") names"
# zsh and fish read "--" themselves; their completions do not list it.
names_but_end=$(grep -vx -- '--' <<<"$names")

# compare WHERE EXPECTED FOUND: one failure per line that only one side holds.
compare() {
    local line
    while IFS= read -r line; do
        [ -n "$line" ] && fail "$1 lacks $line"
    done < <(comm -23 <(sort -u <<<"$2") <(sort -u <<<"$3"))
    while IFS= read -r line; do
        [ -n "$line" ] && fail "$1 has $line, which the option table lacks"
    done < <(comm -13 <(sort -u <<<"$2") <(sort -u <<<"$3"))
}

# The man page: the names of each entry of OPTIONS, and the words set in bold on lines of
# their own in the entry of an option.
man=$(awk '
    /^\.SH/ { inside = $2 == "OPTIONS"; next }
    !inside { next }
    /^\.TP/ {
        getline; gsub(/\\-/, "-"); entry = ""
        for (i = 2; i <= NF; i++) if ($i ~ /^-/) { print $i; entry = entry " " $i }
        next
    }
    /^\.B [a-z]+$/ { n = split(entry, e, " "); for (i = 1; i <= n; i++) print e[i] " " $2 }
' "$assets/man/plenvoy-cli.1")
compare "man page" "$names" "$(grep -v ' ' <<<"$man")"
compare "man page" "$words" "$(grep ' ' <<<"$man")"

# bash: what it completes after "-", and after each name in an empty folder, where a
# plenvoy-cli that lists nothing stands in for the lists of options, presets and runs.
mkdir "$work/empty" "$work/stub"
printf '#!/bin/sh\nexit 0\n' >"$work/stub/plenvoy-cli"
chmod +x "$work/stub/plenvoy-cli"
bash_names=$(bash -c 'source "$1"; COMP_WORDS=(plenvoy-cli -); COMP_CWORD=1; _plenvoy_cli
    printf "%s\n" "${COMPREPLY[@]}"' _ "$assets/completion/plenvoy-cli")
mapfile -t name_list <<<"$names"
bash_words=$(cd "$work/empty" && PATH="$work/stub:$PATH" bash -c 'source "$1"; shift
    for name; do
        COMP_WORDS=(plenvoy-cli "$name" ""); COMP_CWORD=2; COMPREPLY=(); _plenvoy_cli
        for word in "${COMPREPLY[@]}"; do echo "$name $word"; done
    done' _ "$assets/completion/plenvoy-cli" "${name_list[@]}")
compare "bash completion" "$names" "$bash_names"
compare "bash completion" "$words" "$bash_words"

# zsh: the option lines its completion hands to _arguments, as zsh expands them.
zsh_specs=""
if command -v zsh >/dev/null; then
    zsh_specs=$(zsh -c '_arguments() { printf "%s\n" "$@"; }; source "$1"' _ \
        "$assets/completion/_plenvoy-cli")
else
    echo "zsh not installed: its completion is only read as text"
    zsh_specs=$(grep -oE "'[^']*'(\{[^}]*\}'[^']*')?" "$assets/completion/_plenvoy-cli" |
        sed -E "s/^'//; s/'$//; s/^(\([^)]*\))'\{([^,]*),([^}]*)\}'(.*)/\1\2\4\n\1\3\4/")
fi
zsh_options=$(awk '/\[/ {
        sub(/^\([^)]*\)/, ""); sub(/^\*/, ""); if ($0 !~ /^-/) next
        name = $0; sub(/(\[|=).*/, "", name); print name
        if (match($0, /:\([^)]*\)$/)) {
            n = split(substr($0, RSTART + 2, RLENGTH - 3), w, " ")
            for (i = 1; i <= n; i++) print name " " w[i]
        }
    }' <<<"$zsh_specs")
compare "zsh completion" "$names_but_end" "$(grep -v ' ' <<<"$zsh_options")"
compare "zsh completion" "$words" "$(grep ' ' <<<"$zsh_options")"

# fish: what it completes after "-" where fish is installed, else the names its lines
# declare; the words are those of each line's fixed list (-a '...' of no command).
fish_lines=$(awk -v q="'" '$1 == "complete" {
        names = ""
        for (i = 2; i < NF; i++) {
            if ($i == "-l") names = names " --" $(i + 1)
            if ($i == "-s") names = names " -" $(i + 1)
        }
        n = split(names, e, " ")
        for (i = 1; i <= n; i++) print e[i]
        if (match($0, "-a " q "[^(" q "][^" q "]*" q)) {
            m = split(substr($0, RSTART + 4, RLENGTH - 5), w, " ")
            for (i = 1; i <= n; i++) for (j = 1; j <= m; j++) print e[i] " " w[j]
        }
    }' "$assets/completion/plenvoy-cli.fish")
have_fish=false
if command -v fish >/dev/null; then
    have_fish=true
    fish_names=$(cd "$work/empty" && fish -c "source '$assets/completion/plenvoy-cli.fish'
        complete -C'plenvoy-cli -'" | cut -f1)
else
    echo "fish not installed: its completion is only read as text"
    fish_names=$(grep -v ' ' <<<"$fish_lines")
fi
compare "fish completion" "$names_but_end" "$fish_names"
compare "fish completion" "$words" "$(grep ' ' <<<"$fish_lines")"

if command -v zsh >/dev/null; then
    zsh -n "$assets/completion/_plenvoy-cli" || fail "zsh completion does not parse"
else
    echo "zsh not installed: its completion is not parsed"
fi

# Behaviour, in a folder holding a name with blanks.
mkdir "$work/names" "$work/names/a folder" && touch "$work/names/two words.txt" "$work/names/--quiet"
out=$(cd "$work/names" && bash -c 'source "$1"
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
    out=$(cd "$work/names" && fish -c "source '$assets/completion/plenvoy-cli.fish'
        complete -C'plenvoy-cli two'; complete -C'plenvoy-cli -- --q'
        complete -C'plenvoy-cli --option ' | count")
    [ "$out" = $'two words.txt\n--quiet\n72' ] || fail "fish completion: $out"
fi

[ "$failures" -eq 0 ] || exit 1
echo "every option of the table is documented and completed, and no other"
