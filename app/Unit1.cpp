#include "app/Unit1.h"

namespace app {

MainWindow* FMain = nullptr;

} // namespace app
