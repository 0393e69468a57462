#include "app/brasquel_app.h"

int main(int argc, char** argv) {
    zv::CBrasquelApp app(argc, argv);
    return app.InitInstance();
}
