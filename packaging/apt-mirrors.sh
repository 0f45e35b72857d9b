# Debian's mirrors as this machine's apt reaches them. A school or a build
# farm often reaches Debian only through a mirror or a caching proxy of its
# own, so the throwaway systems and Qt's source come from wherever apt here
# takes its packages.
#
# Sourced; defines
#   apt_mirrors TYPE SUITE... print "TYPE URI SUITE main" for each entry of
#                             the apt configuration (under $APT_ROOT, default
#                             /) of a binary source for one of the suites
#                             named, one line each, in the order configured
#   apt_mirrors_or_fail ...   the same, but with no entry it says on standard
#                             error what it looked for and where, and fails

apt_mirrors() {
    local type=$1
    shift
    local root=${APT_ROOT:-}
    local files=()
    [ -f "$root/etc/apt/sources.list" ] && files+=("$root/etc/apt/sources.list")
    local f
    for f in "$root"/etc/apt/sources.list.d/*.list "$root"/etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] && files+=("$f")
    done
    [ ${#files[@]} -gt 0 ] || return 0
    local file
    for file in "${files[@]}"; do
        case $file in
        *.sources) awk -v type="$type" -v wanted="$*" -f - "$file" <<'AWK' ;;
# deb822: paragraphs of "Field: value", continued on lines that start with
# white space, separated by blank lines.
function flush(   n, u, s, i, j, uris, suites) {
    if (types ~ /(^| )deb( |$)/ && tolower(enabled) != "no") {
        n = split(uri_list, uris, " ")
        s = split(suite_list, suites, " ")
        for (i = 1; i <= n; i++)
            for (j = 1; j <= s; j++)
                if (suites[j] in want)
                    print type, uris[i], suites[j], "main"
    }
    types = uri_list = suite_list = enabled = field = ""
}
BEGIN { split(wanted, w, " "); for (k in w) want[w[k]] = 1 }
/^[ \t]*#/ { next }
/^[ \t]*$/ { flush(); next }
/^[ \t]/ { value = $0; sub(/^[ \t]+/, "", value); add(field, value); next }
{
    field = tolower($0); sub(/:.*/, "", field)
    value = $0; sub(/^[^:]*:[ \t]*/, "", value)
    add(field, value)
}
function add(f, v) {
    sub(/[ \t]*#.*/, "", v)
    if (f == "types") types = types " " v
    else if (f == "uris") uri_list = uri_list " " v
    else if (f == "suites") suite_list = suite_list " " v
    else if (f == "enabled") enabled = v
    gsub(/^ +/, "", types)
}
END { flush() }
AWK
        *) awk -v type="$type" -v wanted="$*" '
BEGIN { split(wanted, w, " "); for (k in w) want[w[k]] = 1 }
{ sub(/#.*/, "") }
$1 == "deb" {
    i = 2
    # One-line options: "[arch=amd64 signed-by=...]", perhaps with spaces.
    if ($i ~ /^\[/) { while (i <= NF && $i !~ /\]$/) i++; i++ }
    if ($(i + 1) in want) print type, $i, $(i + 1), "main"
}' "$file" ;;
        esac
    done
}

apt_mirrors_or_fail() {
    local found
    found=$(apt_mirrors "$@")
    if [ -z "$found" ]; then
        echo "No Debian mirror found: looked for a binary source of the suites ${*:2}" \
             "in ${APT_ROOT:-}/etc/apt/sources.list and ${APT_ROOT:-}/etc/apt/sources.list.d/*.list, *.sources." \
             "Add one there, as apt-get needs it too." >&2
        return 1
    fi
    printf '%s\n' "$found"
}
