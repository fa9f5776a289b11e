#!/bin/sh
# Stands in for a test that this host cannot run: prints why, and exits with the status that the
# test's SKIP_RETURN_CODE makes ctest report as skipped.
#   skip.sh REASON [the test's own command...]
echo "skipped: $1"
exit 77
