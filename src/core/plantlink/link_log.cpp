#include "core/plantlink/link_log.h"

Q_LOGGING_CATEGORY(lc_link, "veldaro.link")
Q_LOGGING_CATEGORY(lc_recording, "veldaro.recording")
