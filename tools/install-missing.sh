# Sourced by the tools' scripts: install_missing [--no-install-recommends] PACKAGE...
# installs with apt-get those of the named Debian packages that are not installed yet,
# and nothing when all are.
install_missing() {
    local missing=() package lean=()
    if [[ ${1:-} == --no-install-recommends ]]; then
        lean=("$1")
        shift
    fi
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    ((${#missing[@]})) || return 0
    local as_root=()
    [[ $(id -u) -eq 0 ]] || as_root=(sudo)
    echo "${0##*/}: installing ${missing[*]}"
    "${as_root[@]}" apt-get update -qq
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${lean[@]}" "${missing[@]}" >/dev/null
}
