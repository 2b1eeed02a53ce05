#!/bin/bash
# Planted-fault round: plants each fault of scripts/fehlerliste.tsv alone,
# rebuilds, runs the whole test suite and restores the file. A fault the
# suite lets through is a test that is missing.
#
#   scripts/fehlerrunde.sh [-b BAUVERZEICHNIS] [-l LISTE] [-x] [-t SEKUNDEN]
#                          [-s HH:MM] [-m] [-p] [ID ...]
#
#   -b  a configured build directory with the tests switched on (default
#       build-fehler), e.g. cmake -S . -B build-fehler -G Ninja
#       -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVENDO_TESTS=ON
#       -DTARVENDO_BENCH=OFF -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
#   -l  the fault list (default scripts/fehlerliste.tsv)
#   -x  also run the smoke test under Xvfb (slow; skipped by default)
#   -t  ctest's timeout per test (default 120)
#   -s  plant no further fault after this time of day; the rest is reported
#       as not run
#   -m  run every test for every fault instead of stopping at the first
#       failure, so the results name all tests that catch it: which tests
#       guard nothing of the list, which fault only one test guards
#   -p  build nothing: list the faults whose text no longer occurs exactly
#       once in their file, so a change that moves code can mend its rows
#   ID  only these faults
#
# A fault whose text does not occur exactly once in its file (the code has
# moved) is "nicht anwendbar"; one that does not build is "übersetzt nicht";
# neither counts towards the score.
set -u
cd "$(dirname "$0")/.." || exit 2

bau=build-fehler
liste=scripts/fehlerliste.tsv
mit_xvfb=0
zeitgrenze=120
schluss=
alle_tests=0
nur_pruefen=0
while getopts b:l:xt:s:mp opt; do
    case $opt in
        b) bau=$OPTARG ;;
        l) liste=$OPTARG ;;
        x) mit_xvfb=1 ;;
        t) zeitgrenze=$OPTARG ;;
        s) schluss=$(date -d "$OPTARG" +%s) || exit 2 ;;
        m) alle_tests=1 ;;
        p) nur_pruefen=1 ;;
        *) sed -n '6,23p' "$0" >&2; exit 2 ;;
    esac
done
shift $((OPTIND - 1))

[ "$nur_pruefen" = 1 ] || [ -f "$bau/CMakeCache.txt" ] || { echo "$bau ist kein konfiguriertes Bauverzeichnis" >&2; exit 2; }
[ -f "$liste" ] || { echo "$liste fehlt" >&2; exit 2; }

export QT_QPA_PLATFORM=offscreen
export LC_ALL=C  # the texts are compared byte by byte
# No tests at all must not pass for a suite that caught nothing.
ctest_args=(--test-dir "$bau" -j2 --timeout "$zeitgrenze" --no-tests=error)
[ "$alle_tests" = 1 ] || ctest_args+=(--stop-on-failure)
[ "$mit_xvfb" = 1 ] || ctest_args+=(-E '^fenster_unter_xvfb$')

arbeit=$(mktemp -d)
ergebnisse=$bau/fehlerrunde.tsv
gepflanzt=      # the file that holds a fault right now
kopie=$arbeit/original

zuruecklegen() {
    [ -n "$gepflanzt" ] || return 0
    cp "$kopie" "$gepflanzt"  # a new mtime, so the next build compiles it again
    if ! git diff --quiet -- "$gepflanzt"; then
        echo "FEHLER: $gepflanzt ist nach dem Zurücklegen nicht sauber" >&2
        exit 3
    fi
    gepflanzt=
}
trap 'zuruecklegen; rm -rf "$arbeit"' EXIT
trap 'echo "unterbrochen" >&2; exit 130' INT TERM HUP

# Counts the occurrences of $SUCHE in the file; with ERSATZ set, writes the
# file with its one occurrence replaced to stdout. Literal, byte by byte.
ersetze() {
    awk -v nur_zaehlen="$2" '
        { text = text (NR > 1 ? "\n" : "") $0 }
        END {
            s = ENVIRON["SUCHE"]; n = 0; rest = text
            while ((i = index(rest, s)) > 0) { n++; rest = substr(rest, i + length(s)) }
            if (nur_zaehlen) { print n; exit }
            i = index(text, s)
            printf "%s%s%s\n", substr(text, 1, i - 1), ENVIRON["ERSATZ"], substr(text, i + length(s))
        }' "$1"
}

baue() { nice -n 19 cmake --build "$bau" -j1 >"$arbeit/bau.log" 2>&1; }
pruefe() { nice -n 19 ctest "${ctest_args[@]}" >"$arbeit/test.log" 2>&1; }
# The tests that failed in the last run, without gtest's parameter dump.
gescheiterte() {
    sed -n '/The following tests FAILED:/,$s/^[[:space:]]*[0-9]* - \(.*\) (.*)$/\1/p' "$arbeit/test.log" |
        sed 's/  # GetParam.*//' | paste -sd';' -
}

if [ "$nur_pruefen" = 1 ]; then
    status=0
    while IFS=$'\t' read -r id datei suche _; do
        case $id in '#'* | '') continue ;; esac
        n=0
        [ -f "$datei" ] && n=$(SUCHE=$suche ersetze "$datei" 1)
        [ "$n" = 1 ] || { echo "$id $datei: ${n}-mal gefunden"; status=1; }
    done <"$liste"
    exit "$status"
fi

echo "Grundlauf: bauen und alle Tests ohne Fehler"
if ! baue; then tail -20 "$arbeit/bau.log"; echo "Bau scheitert schon ohne Fehler" >&2; exit 2; fi
if ! pruefe; then
    grep -E 'Failed|Timeout|tests passed' "$arbeit/test.log" >&2
    echo "Tests scheitern schon ohne Fehler: so misst die Runde nichts" >&2
    exit 2
fi
grep 'tests passed' "$arbeit/test.log"

printf 'id\tklasse\tergebnis\tsekunden\tbeschreibung\ttests\n' >"$ergebnisse"
feld() { printf '%s\n' "$zeile" | cut -f"$1"; }
while IFS= read -r zeile; do
    case $zeile in '#'* | '') continue ;; esac
    id=$(feld 1) datei=$(feld 2) klasse=$(feld 5) beschreibung=$(feld 6)
    if [ $# -gt 0 ]; then
        case " $* " in *" $id "*) ;; *) continue ;; esac
    fi
    if [ -n "$schluss" ] && [ "$(date +%s)" -ge "$schluss" ]; then
        ergebnis="nicht gelaufen"
        printf '%s\t%s\t%s\t0\t%s\n' "$id" "$klasse" "$ergebnis" "$beschreibung" >>"$ergebnisse"
        continue
    fi
    beginn=$(date +%s)
    tests=
    export SUCHE ERSATZ
    SUCHE=$(feld 3) ERSATZ=$(feld 4)
    if [ -z "$SUCHE" ] || [ ! -f "$datei" ] || [ "$(ersetze "$datei" 1)" != 1 ]; then
        ergebnis="nicht anwendbar"
    elif ! git diff --quiet -- "$datei"; then
        echo "$datei hat eigene Änderungen; die Runde pflanzt nur in saubere Dateien" >&2
        exit 2
    else
        cp "$datei" "$kopie"
        gepflanzt=$datei
        ersetze "$kopie" 0 >"$datei"
        if ! baue; then
            # A test program that dies while listing its tests also stops the build.
            if grep -q 'error:' "$arbeit/bau.log"; then ergebnis="übersetzt nicht"; else ergebnis=gefangen; fi
        elif pruefe; then
            ergebnis=überlebt
        else
            ergebnis=gefangen
            tests=$(gescheiterte)
        fi
        zuruecklegen
    fi
    sekunden=$(($(date +%s) - beginn))
    printf '%-4s %-10s %-16s %4ss  %s\n' "$id" "$klasse" "$ergebnis" "$sekunden" "$beschreibung"
    printf '%s\t%s\t%s\t%s\t%s\t%s\n' "$id" "$klasse" "$ergebnis" "$sekunden" "$beschreibung" "$tests" >>"$ergebnisse"
done <"$liste"

# The build directory ends matching the sources again.
baue || echo "Warnung: der Bau nach der Runde scheitert" >&2

awk -F'\t' '
    NR == 1 { next }
    { anzahl[$3]++ }
    $3 == "gefangen" || $3 == "überlebt" {
        gewertet[$2]++; gewertet["alle"]++
        if ($3 == "gefangen") { gefangen[$2]++; gefangen["alle"]++ }
        else ueberlebende = ueberlebende "  " $1 " (" $2 ") " $5 "\n"
    }
    function quote(k) { return gewertet[k] ? sprintf("%d/%d = %d %%", gefangen[k], gewertet[k], 100 * gefangen[k] / gewertet[k]) : "-" }
    END {
        printf "\nZusammenfassung:"
        for (e in anzahl) printf " %s %d;", e, anzahl[e]
        printf "\nGefangen insgesamt: %s\n", quote("alle")
        printf "Gefangen sicherheit: %s\n", quote("sicherheit")
        printf "Gefangen sonst: %s\n", quote("sonst")
        if (ueberlebende != "") printf "Überlebende:\n%s", ueberlebende
    }' "$ergebnisse"
echo "Einzelergebnisse: $ergebnisse"
