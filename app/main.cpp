#include "app/NuvApp.h"

int main(int argc, char** argv) {
    CnuvApp app(argc, argv);
    app.InitInstance();
    return 0;
}
