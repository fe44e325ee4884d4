// Vitreon: the glossy, painted controls of Vandrel's main windows (buttons, tab strip, scroll
// bar, check and radio boxes, close buttons, search frame). Qt Widgets only; every control is
// used on the user-interface thread alone.
#pragma once

#if defined(VITREON_BUILDING)
#define VITREON_API __attribute__((visibility("default")))
#else
#define VITREON_API
#endif
