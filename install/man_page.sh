#!/bin/sh
# Writes a man page from its template and the program's own --help, so that
# the page lists exactly the options the program takes.
#
#   man_page.sh TEMPLATE OUTPUT PROGRAM
#
# Lines of the template that are directives are replaced:
#   @version@    (within a line) what `PROGRAM --version` prints
#   .\" @options@   the items of `PROGRAM --help` (positionals, options,
#                subcommands) as a tagged list
#   .\" @commands@  per command that `PROGRAM --help` lists under "commands:",
#                a subsection with the command's description, usage and items,
#                and so on for its subcommands
set -eu
template=$1
output=$2
program=$3
name=$(basename "$program")

# help_roff [HEADING-PREFIX]: CLI11 help text on stdin -> roff. With a prefix
# ("vilora-kit lib"), the description and the usage line are kept as a
# subsection; without, only the items are.
help_roff() {
    awk -v heading="${1:-}" '
    function escape(s) {
        gsub(/\\/, "\\e", s)
        sub(/^[.\047]/, "\\\\\\&&", s)
        return s
    }
    function option(s) {
        s = escape(s)
        gsub(/-/, "\\-", s)
        return s
    }
    # "  --every INT:POSITIVE        With --capture: ..." -> label, text
    function item(line,    label, text, at) {
        sub(/^  /, "", line)
        at = match(line, /   */)
        if (at) {
            label = substr(line, 1, at - 1)
            text = substr(line, at + RLENGTH)
        } else {
            label = line
            text = ""
        }
        split(label, words, " ")
        printf ".TP\n\\fB%s\\fR", option(words[1])
        rest = substr(label, length(words[1]) + 2)
        if (rest != "") printf " \\fI%s\\fR", escape(rest)
        printf "\n"
        if (text != "") print escape(text)
    }
    /^Usage: / {
        if (heading != "") {
            sub(/^Usage: /, "")
            print ".PP"
            print "\\fBUsage:\\fR " option($0)
        }
        section = "usage"
        next
    }
    /^(Positionals|Options|Subcommands):$/ { section = "items"; next }
    /^$/ { next }
    section == "" { if (heading != "") print escape($0); next }
    section == "items" && /^  [^ ]/ { item($0); next }
    section == "items" && /^   / { sub(/^ +/, ""); print escape($0); next }
    { print escape($0) }
    BEGIN { if (heading != "") printf ".SS \"%s\"\n", heading }
    '
}

# The command names a program lists after "commands:" (vilora-kit) or
# "Subcommands:" (CLI11), one a line.
commands_of() {
    awk '/^(commands|Subcommands):$/ { on = 1; next } /^$/ { on = 0 } on && /^  [^ ]/ { print $1 }'
}

# command_sections PREFIX...: the subsection of `PROGRAM PREFIX... --help`,
# then those of its subcommands.
command_sections() {
    help=$("$program" "$@" --help)
    printf '%s\n' "$help" | help_roff "$name $*"
    for sub in $(printf '%s\n' "$help" | commands_of); do command_sections "$@" "$sub"; done
}

version=$("$program" --version)
{
    while IFS= read -r line; do
        case "$line" in
        '.\" @options@') "$program" --help | help_roff ;;
        '.\" @commands@')
            for command in $("$program" --help | commands_of); do command_sections "$command"; done
            ;;
        *) printf '%s\n' "$line" | sed "s|@version@|$version|g" ;;
        esac
    done <"$template"
} >"$output.part"
mv "$output.part" "$output"
