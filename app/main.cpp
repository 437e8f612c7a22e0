// The executable `kestrova`. Its one argument: "/min" starts it hidden in the notification area.
#include "app/startup.h"

int main(int argc, char** argv) {
    return kestrova::WinMain(argc, argv);
}
