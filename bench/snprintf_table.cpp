// The plain way to print the table, for comparison with wertomat-table: one
// snprintf("%10.4f\t%10.4f\r\n") per row appended to a string, then written.
// Polynomial 0 only; the same operation order as the core.
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: snprintf_table XA XSW XE\n", stderr);
        return 2;
    }
    const double start = std::strtod(argv[1], nullptr);
    const double step = std::strtod(argv[2], nullptr);
    const double end = std::strtod(argv[3], nullptr);
    std::string table = "x\ty\r\n";
    const double limit = end + step * 0.1;
    char row[700];
    for (double x = start; step < 0 ? x > limit : x < limit; x += step) {
        double s = 2 * x * x * x - 3 * x * x;
        s = s + 4 * x;
        std::snprintf(row, sizeof row, "%10.4f\t%10.4f\r\n", x, s - 5);
        table += row;
    }
    std::fwrite(table.data(), 1, table.size(), stdout);
    return 0;
}
