#include "gui/framework/pictures.h"

#include <QtGlobal>

void init_resources()
{
    // The pictures are compiled into the static library.
    Q_INIT_RESOURCE(veldaro);
}
