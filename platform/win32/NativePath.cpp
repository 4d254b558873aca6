#include "platform/Path.h"

EPathStyle NativePathStyle()
{
    return EPathStyle::Windows;
}
