// Demo step of the foundation: text, numbers and dates of the platform layer.
#include <ostream>

#include "platform/platform.h"
#include "tools/lumivar/cli.h"

namespace {

using namespace lumivar_cli;

const Registration kDemo(DemoStep{
    0, "Foundation", [](Context& ctx) {
      Platform::ShortString<15> id = "Zürich-Höngg station";
      ctx.out << "A 15-character short string keeps \"" << id.ToString() << "\" (" << id.Length()
              << " bytes in Windows-1252)\n";
      ctx.out << "Numbers are written without locale: " << Platform::FloatToStrGeneral(47.3769)
              << ", " << Platform::FloatToStrGeneral(1.5e-7) << ", "
              << Platform::FloatToStrFixed(8.54169, 5) << "\n";
      int y, m, d;
      Platform::DecodeDate(Platform::Now(), y, m, d);
      ctx.out << "Date-time values count days since 1899-12-30; today is day "
              << static_cast<long>(Platform::EncodeDate(y, m, d)) << "\n";
    }});

}  // namespace
