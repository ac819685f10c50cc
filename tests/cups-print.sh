#!/usr/bin/env bash
# Printing through a real CUPS (tests/with-cups.sh): the program's own dialog, answered
# by tst_mainwindow, prints the answer for 52123 and the whole directory on the default
# queue, a cups-pdf printer, and what CUPS received is read back: the rows, the headers,
# the page numbers. A queue that refuses jobs gets a message naming it. Then the tests
# with windows and the fuzzer's seeds run once more with that queue as the default, and
# no job may arrive. Argument: the build folder.
set -euo pipefail
[[ -n ${ZARYAJ_CUPS:-} ]] || exec bash "$(dirname "$0")/with-cups.sh" bash "$0" "$@"
build=$1
spool=$ZARYAJ_CUPS/spool
fail() {
    echo "cups-print: $*" >&2
    exit 1
}
jobs() { lpstat -W all -o | wc -l; }
print() { env QT_QPA_PLATFORM=offscreen ZARYAJ_PRINT_QUEUE=zaryaj-pdf "$@" "$build/tests/tst_mainwindow" printsThroughTheSystem; }
print
(($(jobs) == 2)) || fail "$(jobs) jobs arrived, not 2"
# The files as the program sent them; cups-pdf's own PDFs have no text.
answer=$(pdftotext -layout "$spool/d00001-001" -)
listing=$(pdftotext -layout "$spool/d00002-001" -)
for line in 'Поиск по телефону: 52123' 'Найдено абонентов: 2' 'Номер +Фамилия И.О. +Улица +дом +кв.' \
    '5-21-23 +Ёлкин И.Е. +Советская +41' '5-21-23 +Ёлкина Т.В. +Советская +41' 'стр. 1 из 1$'; do
    grep -qE "^ *$line" <<<"$answer" || fail "the answer's page lacks '$line': $answer"
done
(($(grep -cE '^ *[0-9]-[0-9]{2}-[0-9]{2} ' <<<"$listing") == 1790)) || fail "the listing has not 1790 rows"
(($(grep -c 'Фамилия И.О.' <<<"$listing") == 43)) || fail "the listing's 43 pages have not a header each"
(($(grep -cE 'стр. [0-9]+ из 43$' <<<"$listing") == 43)) || fail "the listing's pages are not numbered 1 to 43"
pdfinfo "$spool/d00002-001" | grep -qE '^Pages: +43$' || fail "the listing is not 43 pages"
# cups-pdf printed both.
for _ in $(seq 300); do [[ -z $(lpstat -o) ]] && break || sleep 0.1; done
(($(find "$ZARYAJ_CUPS/pdf" -name '*.pdf' | wc -l) == 2)) || fail "cups-pdf did not print both"

cupsreject zaryaj-pdf
print ZARYAJ_PRINT_REFUSED=1
cupsaccept zaryaj-pdf

# As on a desk with a default printer: the tests print nothing on it.
ctest --test-dir "$build" -L 'windows|fuzz' -E 'desktop_round_trip' -j2 >"$ZARYAJ_CUPS/ctest.log" ||
    fail "the tests failed beside a default printer: $(tail -20 "$ZARYAJ_CUPS/ctest.log")"
(($(jobs) == 2)) || fail "the tests sent $(($(jobs) - 2)) jobs to the default printer"
echo "cups-print: 2 jobs printed and read back, a refusal told, no job from the tests"
