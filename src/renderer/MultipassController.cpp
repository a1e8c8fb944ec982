#include "renderer/MultipassController.h"

namespace vml {

void MultipassController::reset()
{
    globalContext_ = nullptr;
    pass_ = 0;
}

void MultipassController::setUp(bool multipass)
{
    multipass_ = multipass;
    passCount_ = multipass ? passIdCount + 1 : 1;
    pass_ = 0;
}

}  // namespace vml
