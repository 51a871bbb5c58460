// How the user writes numbers, as set in Windows' Region settings: what the
// table flavour and the companion's CSV follow. Its users see no Windows
// header; only its source asks the platform.
#pragma once

namespace framework::win32 {

struct NumberConvention {
    char decimalMark;    // '.' or ','
    char listSeparator;  // between a CSV line's fields; never the decimal mark
};

NumberConvention UserNumberConvention();

}  // namespace framework::win32
