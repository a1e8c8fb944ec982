#include "host/RenderElement.h"

#include "host/Bitmap.h"

bool PBBitmap::CreateBitmap()
{
    if (bi.width <= 0 || bi.height <= 0)
        return false;
    bitmap_ = std::make_unique<Bitmap>(bi.width, bi.height);
    return true;
}

void PBBitmap::DeleteBitmap() { bitmap_.reset(); }
