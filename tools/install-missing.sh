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
    # Another apt at work (a check in a second root of the same release) is waited for.
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
        -o DPkg::Lock::Timeout=600 "${lean[@]}" "${missing[@]}" >/dev/null
}

# first_available PACKAGE...: prints the first of the packages that is installed or that
# apt could install, where Debian's releases name a thing differently; fails with none.
first_available() {
    local package
    if [[ -z $(find /var/lib/apt/lists -maxdepth 1 -name '*_Packages' -print -quit) ]]; then
        local as_root=()
        [[ $(id -u) -eq 0 ]] || as_root=(sudo)
        "${as_root[@]}" apt-get update -qq
    fi
    for package in "$@"; do
        # Read whole first: grep -q leaving early would fail the pipe under pipefail.
        if [[ $(dpkg-query -W -f='${Status}' "$package" 2>/dev/null) == *'install ok installed'* ||
            $(apt-cache policy "$package" 2>/dev/null) == *'Candidate: '[^\(]* ]]; then
            echo "$package"
            return 0
        fi
    done
    echo "${0##*/}: none of $* can be installed here" >&2
    return 1
}
