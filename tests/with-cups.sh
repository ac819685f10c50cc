#!/usr/bin/env bash
# Runs a command beside a print server of its own: a private cupsd on a socket in a
# temporary folder, whose one queue, the cups-pdf printer "zaryaj-pdf", is the default.
# The command gets CUPS_SERVER and ZARYAJ_CUPS, the folder, where spool/ keeps every
# job's file as the program sent it and pdf/ holds what cups-pdf made of it. cups-pdf
# reads its settings from the machine's /etc/cups, so the server runs in a mount
# namespace of its own where a private settings file stands in their place. Exit 77
# where cupsd, cups-pdf or a mount namespace is missing.
set -uo pipefail
if [[ ! -x /usr/sbin/cupsd || ! -x /usr/lib/cups/backend/cups-pdf ]] || ! unshare -m true 2>/dev/null; then
    echo "skipped: needs cupsd, cups-pdf and a mount namespace of its own"
    exit 77
fi
dir=$(mktemp -d /tmp/zaryaj-cups.XXXXXX)
chmod 755 "$dir" # the filters run as lp
mkdir "$dir"/{spool,cache,state,tmp,pdf,cups-pdf}
cat >"$dir/cupsd.conf" <<END
Listen $dir/cups.sock
Browsing No
WebInterface No
LogLevel warn
PreserveJobFiles Yes
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
END
cat >"$dir/cups-files.conf" <<END
ServerRoot $dir
RequestRoot $dir/spool
CacheDir $dir/cache
StateDir $dir/state
TempDir $dir/tmp
ErrorLog $dir/error_log
AccessLog $dir/access_log
PageLog $dir/page_log
SystemGroup root
END
printf 'Out %s\nAnonDirName %s\nSpool %s\nLog %s\n' "$dir/pdf" "$dir/pdf" "$dir/cups-pdf" "$dir" \
    >"$dir/cups-pdf.conf"
unshare -m --propagation private sh -c \
    'mount --bind "$1/cups-pdf.conf" /etc/cups/cups-pdf.conf &&
     exec cupsd -f -c "$1/cupsd.conf" -s "$1/cups-files.conf"' sh "$dir" &
cupsd=$!
trap 'kill "$cupsd" 2>/dev/null; wait "$cupsd" 2>/dev/null; rm -rf "$dir"' EXIT
export CUPS_SERVER=$dir/cups.sock ZARYAJ_CUPS=$dir
# Up when it answers; cupsd ends at once on a wrong setting.
for _ in $(seq 100); do
    [[ $(lpstat -r 2>/dev/null) == "scheduler is running" ]] && break
    kill -0 "$cupsd" 2>/dev/null || { cat "$dir/error_log" >&2; exit 1; }
    sleep 0.1
done
# lpadmin warns that printer drivers are deprecated: said only on failure.
{ lpadmin -p zaryaj-pdf -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd &&
    lpadmin -d zaryaj-pdf; } 2>"$dir/lpadmin.log" || { cat "$dir"/{lpadmin.log,error_log} >&2; exit 1; }
"$@"
