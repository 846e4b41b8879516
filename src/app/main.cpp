// purgelint.exe: a GUI-subsystem program whose work starts at Main.
#include "core/startup.h"

int main() {
    Main();
    return 0;
}
