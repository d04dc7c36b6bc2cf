#!/usr/bin/env bash
# A process of the device that crashes leaves a report in the device's
# folder (its path and a backtrace naming the function that crashed), the
# crashed process ends instead of waiting on a debugger, and the harness
# prints the report.
#   crash_report.sh DEVICE_SCRIPT DEVICE_DIR BUILD_DIR
source "$(dirname "$0")/../../support/scenario.sh" "$@"
reports=$devdir/prefix/drive_c/crashes
crasher=$(winpath "$build/bin/CrashOnPurposeTest.exe")
rm -f "$reports"/CrashOnPurposeTest.exe-*.txt

# The crashed program must end by itself: a debugger that waits on it
# would hold `run` (and ctest) until the time limit.
timeout 60 "$device" --dir "$devdir" run "$crasher"
status=$?
if [ "$status" -eq 124 ]; then fail "the crashed program was held and never ended"; fi

report_whole() { grep -qs '^Threads:' "$reports"/CrashOnPurposeTest.exe-*.txt; }
if wait_for 30 report_whole; then
    pass "the crash left a report in the device's folder"
else
    fail "no crash report for the crashed program"
fi
report=$(ls "$reports"/CrashOnPurposeTest.exe-*.txt 2>/dev/null | head -n 1)
if [ -n "$report" ]; then
    echo "--- the report, as the harness prints it:"
    dev crashes --since "$crash_stamp"
    grep -q 'Crashed process: .*CrashOnPurposeTest.exe' "$report" &&
        pass "the report names the crashed process" || fail "the report does not name the process"
    dev crashes --since "$crash_stamp" | grep -q '^=>0 .*ReadThroughStrayPointer' &&
        pass "the backtrace names the function that crashed" || fail "no function name in the backtrace"
    # The deliberate crash is no fault of the device's programs.
    rm -f "$report"
fi
finish
