// The stored window placement: any text parses or is refused without failing; what
// parses formats back to a text that parses the same; a restore from any text onto a
// sane desktop gives a window on that desktop, without overflow.
#include "FuzzCheck.h"
#include "settings/WindowState.h"

#include <fuzzer/FuzzedDataProvider.h>

using namespace torvella::settings;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const ScreenArea desktop{in.ConsumeIntegralInRange(-5000, 5000), in.ConsumeIntegralInRange(-5000, 5000),
                             in.ConsumeIntegralInRange(MinTrackWidth, 20000),
                             in.ConsumeIntegralInRange(MinTrackHeight, 20000)};
    const ScreenArea screen{desktop.left, desktop.top, desktop.width, desktop.height};
    WindowPlacement current;
    current.showCmd = in.ConsumeIntegralInRange(1, 3);
    current.left = in.ConsumeIntegralInRange(-20000, 20000);
    current.top = in.ConsumeIntegralInRange(-20000, 20000);
    current.right = current.left + in.ConsumeIntegralInRange(0, 20000);
    current.bottom = current.top + in.ConsumeIntegralInRange(0, 20000);
    const std::string rest = in.ConsumeRemainingBytesAsString();
    const QString text = QString::fromUtf8(rest.data(), qsizetype(rest.size()));

    const std::optional<WindowPlacement> parsed = ParsePlacement(text);
    if (parsed)
        FUZZ_CHECK(ParsePlacement(FormatPlacement(*parsed)) == parsed);

    const WindowPlacement r = RestorePlacement(text, current, desktop, screen);
    if (parsed) {
        // on the desktop, as far as the minimum size lets it
        FUZZ_CHECK(r.left >= desktop.left && r.top >= desktop.top);
        FUZZ_CHECK(r.left <= desktop.left + desktop.width && r.top <= desktop.top + desktop.height);
        FUZZ_CHECK(r.Width() >= 0 && r.Height() >= 0);
    }
    return 0;
}
