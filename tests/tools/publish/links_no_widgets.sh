#!/bin/sh
# The publisher's tool runs on machines without a display, beside a web server: it reuses the
# launcher's services and setup but must need no Qt Widgets. Prints each widget library the
# program needs; exits 1 when there is one.
program=${1:?usage: links_no_widgets.sh PROGRAM}
libraries=$(ldd "$program") || exit 2
echo "$libraries" | grep -i widgets && exit 1
exit 0
