#include <QApplication>

#include "Polmera.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Polmera window;
    window.show();
    return app.exec();
}
