// The process entry belongs to the framework: it hands over to the one
// application object the program defines.
#include "framework/winapp.h"

int main(int, char** argv) {
    return framework::RunApplication(argv[0]);
}
