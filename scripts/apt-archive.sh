# Sourced by the setup and test scripts: the Debian archive apt is configured with.
# Only apt's own configuration names an archive: this project never writes a host down.

# archive_uri [SUITE]: the address apt uses for SUITE (default bookworm), without a trailing slash.
# Without one configured, says which apt source to add and fails.
archive_uri() {
    local suite=${1:-bookworm} uri
    uri=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE)' 2>/dev/null |
        awk -v s="$suite" '$2 == s {print $1; exit}' || true)
    # Before the first apt-get update there are no index targets: read the sources themselves.
    if [ -z "$uri" ] && [ "$suite" = bookworm ]; then
        uri=$(cat /etc/apt/sources.list.d/*.sources 2>/dev/null | awk '
            /^Types:/ { deb = ($0 ~ /[[:space:]]deb([[:space:]]|$)/) }
            /^URIs:/ && deb { print $2 }' | grep -v security | head -n 1 || true)
        [ -n "$uri" ] || uri=$(grep -h -E '^\s*deb\s' /etc/apt/sources.list 2>/dev/null |
            awk '{print $2}' | grep -v security | head -n 1 || true)
    fi
    if [ -z "$uri" ]; then
        cat >&2 <<MSG
apt has no Debian archive configured for $suite, and Moonvale's setup takes the SDL3 sources and
its test systems from the archive apt uses. Add one, e.g. a file
/etc/apt/sources.list.d/debian.sources holding
    Types: deb
    URIs: <your Debian mirror>
    Suites: bookworm bookworm-updates
    Components: main
    Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
then run apt-get update, and this command again.
MSG
        return 1
    fi
    echo "${uri%/}"
}
