# bash completion for kestrow-sign and its verify command: option names, the --format
# values and file names for --secret-key-file.
_kestrow_sign() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    COMPREPLY=()
    case $prev in
    --format)
        mapfile -t COMPREPLY < <(compgen -W "text json" -- "$cur")
        return ;;
    --secret-key-file)
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
        return ;;
    --prefix | --access-key-id | --time | --url | --timestamp | --signature | --now | --max-skew)
        return ;;
    esac
    local words="--prefix --access-key-id --time --no-url-encode"
    if [[ ${COMP_WORDS[1]} == verify ]] && ((COMP_CWORD > 1)); then
        words="--url --timestamp --signature --prefix --now --max-skew"
    elif ((COMP_CWORD == 1)); then
        words+=" verify"
    fi
    mapfile -t COMPREPLY < <(compgen -W "$words --format --secret-key-file --help --version" -- "$cur")
}
complete -F _kestrow_sign kestrow-sign
