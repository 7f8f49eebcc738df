#include "platform/text_viewer.h"

namespace listinova::platform {

TextViewer::~TextViewer() = default;

}  // namespace listinova::platform
