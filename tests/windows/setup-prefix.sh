#!/bin/sh
# Sets up the wine prefix that WINEPREFIX names for runs on an X display without a window
# manager: the first start of wine in a new prefix takes a while, which no timed test should pay.
set -e
wineboot -i >/dev/null 2>&1
# Nobody acknowledges there that a window was hidden, and wine would wait two seconds for each
# window that closes; unmanaged windows need no acknowledgement.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -w
