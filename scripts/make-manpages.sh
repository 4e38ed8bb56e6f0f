#!/usr/bin/env bash
# make-manpages.sh OUT_DIR WINDOW CLI VERSION
# Writes the manual pages tocsmith(1) and tocsmith-cli(1) (English in OUT_DIR/man/man1,
# Russian in OUT_DIR/man/ru/man1) and tocsmith-cli's bash completion
# (OUT_DIR/completion/tocsmith-cli), all from the help texts the programs print.
set -euo pipefail
out=$1 window=$2 cli=$3 version=$4

# Help text as roff: kept as printed (no filling), backslashes and leading dots escaped.
as_roff() {
  printf '.nf\n'
  sed -e 's/\\/\\e/g' -e "s/^\([.']\)/\\\\\&\1/"
  printf '.fi\n'
}

commands() { "$cli" --help | awk '/^Commands:/ {on = 1; next} on && /^  [a-z]/ {print $1} on && /^$/ {exit}'; }

# page NAME SUMMARY LANG_ENV  (prints the page on stdout)
cli_page() {
  local summary=$1
  shift
  printf '.TH TOCSMITH-CLI 1 "" "Tocsmith %s" "User Commands"\n' "$version"
  printf '.SH NAME\ntocsmith-cli \\- %s\n' "$summary"
  printf '.SH SYNOPSIS\n.B tocsmith-cli\n.I COMMAND\n[\\fIoptions\\fR] ...\n'
  printf '.SH DESCRIPTION\n'
  env "$@" "$cli" --help | as_roff
  for c in $(commands); do
    printf '.SH "%s"\n' "$(echo "$c" | tr '[:lower:]' '[:upper:]')"
    env "$@" "$cli" "$c" --help | as_roff
  done
  printf '.SH SEE ALSO\n.BR tocsmith (1),\n.BR djvused (1)\n'
}

window_page() {
  local summary=$1
  shift
  printf '.TH TOCSMITH 1 "" "Tocsmith %s" "User Commands"\n' "$version"
  printf '.SH NAME\ntocsmith \\- %s\n' "$summary"
  printf '.SH SYNOPSIS\n.B tocsmith\n[\\fB\\-\\-help\\fR] [\\fB\\-\\-version\\fR]\n'
  printf '.SH DESCRIPTION\n'
  env "$@" "$window" --help | as_roff
  printf '.SH SEE ALSO\n.BR tocsmith-cli (1),\n.BR djview (1)\n'
}

mkdir -p "$out/man/man1" "$out/man/ru/man1" "$out/completion"
english=(LC_ALL=C.UTF-8 LANG=C.UTF-8 LC_MESSAGES=)
russian=(LC_ALL=ru_RU.UTF-8 LANG=ru_RU.UTF-8 LC_MESSAGES=)
window_page "turn a DjVu book's contents into hyperlinks (window)" "${english[@]}" \
  >"$out/man/man1/tocsmith.1"
cli_page "turn a DjVu book's contents into hyperlinks (command line)" "${english[@]}" \
  >"$out/man/man1/tocsmith-cli.1"
window_page "гиперссылки из оглавления книги DjVu (окно)" "${russian[@]}" \
  >"$out/man/ru/man1/tocsmith.1"
cli_page "гиперссылки из оглавления книги DjVu (командная строка)" "${russian[@]}" \
  >"$out/man/ru/man1/tocsmith-cli.1"

# Completion: the commands, then each command's options as its help lists them.
{
  printf '# bash completion for tocsmith-cli, made from its help texts\n'
  printf '_tocsmith_cli() {\n'
  printf '  local cur=${COMP_WORDS[COMP_CWORD]} options\n'
  printf '  if [ "$COMP_CWORD" -eq 1 ]; then\n'
  printf '    COMPREPLY=($(compgen -W "%s --help --version" -- "$cur"))\n' "$(commands | xargs)"
  printf '    return\n  fi\n'
  printf '  case ${COMP_WORDS[1]} in\n'
  for c in $(commands); do
    opts=$(LC_ALL=C.UTF-8 "$cli" "$c" --help | { grep -oE -- '--[a-z][a-z0-9-]*' || true; } | sort -u | xargs)
    printf '    %s) options="%s" ;;\n' "$c" "$opts"
  done
  printf '    *) return ;;\n  esac\n'
  printf '  if [[ $cur == -* ]]; then\n'
  printf '    COMPREPLY=($(compgen -W "$options" -- "$cur"))\n'
  printf '  else\n'
  printf '    COMPREPLY=($(compgen -f -- "$cur"))\n'
  printf '  fi\n'
  printf '}\n'
  printf 'complete -o filenames -F _tocsmith_cli tocsmith-cli\n'
} >"$out/completion/tocsmith-cli"
