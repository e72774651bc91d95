#include "VelmoraApp.h"

int main(int argc, char** argv) {
    CVelmoraApp app(argc, argv);
    if (!app.InitInstance())
        return 1;
    return app.Run();
}
