#!/bin/sh
# The table as a one-line awk script, for comparison with wertomat-table:
# polynomial 0, the same operation order, printf per row.
# Usage: awk_table.sh XA XSW XE
exec mawk -v a="$1" -v s="$2" -v e="$3" 'BEGIN { printf "x\ty\r\n"; l = e + s * 0.1; for (x = a; (s < 0) ? x > l : x < l; x += s) { y = 2 * x * x * x - 3 * x * x; y = y + 4 * x; printf "%10.4f\t%10.4f\r\n", x, y - 5 } }'
