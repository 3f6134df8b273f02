#pragma once

namespace lk {

// Posted (no object) once a composed broadcast has been accepted by the service.
inline constexpr const char* kBroadcastComposeSucceed = "kBroadcastComposeSucceed";

}  // namespace lk
