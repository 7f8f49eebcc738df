#include "platform/udp_endpoint.h"

namespace listinova::platform {

UdpEndpoint::~UdpEndpoint() = default;

}  // namespace listinova::platform
