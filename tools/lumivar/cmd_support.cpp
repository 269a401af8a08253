// Commands and demo step of the two support libraries: angle text and the
// element scanner of the map files.
#include <array>
#include <ostream>
#include <string>

#include "platform/platform.h"
#include "support/brontal/brontal.h"
#include "support/ostrine/ostrine.h"
#include "tools/lumivar/cli.h"

namespace {

using namespace lumivar_cli;

const std::array<std::string, 16> kMapFileTags = {
    "geomap",       "/geomap",  "calline",   "corners",   "resolution", "gmlandmarks",
    "/gmlandmarks", "landmark", "calquads",  "lmsymbols", "/lmsymbols", "symbol",
    "utmzone",      "utmsouth", "ellipsoid", "invalidtag"};

Zelk_zelkbase::TDegreeFormat ParseDegreeFormat(const std::string& text) {
  if (text == "d") return Zelk_zelkbase::dfDecimal;
  if (text == "dm") return Zelk_zelkbase::dfDegMin;
  if (text == "dms") return Zelk_zelkbase::dfDegMinSec;
  throw UsageError("degrees: unknown format '" + text + "' (d, dm or dms)");
}

const Registration kDegrees(Command{
    "degrees", "degrees ANGLE [--format d|dm|dms] [--decimals N]",
    "writes angles in degrees as text (angles from standard input without ANGLE)",
    [](const Args& argsIn, Context& ctx) {
      Args args = argsIn;
      const auto format = ParseDegreeFormat(TakeOption(args, "--format", "dms"));
      const int decimals = ParseInt(TakeOption(args, "--decimals", "0"), "decimals");
      return ForEachInput(args, 1, ctx, [&](const Args& a) {
        ctx.out << Zelk_math2::DegreeToStr(ParseDouble(a.at(0), "angle"), format, decimals) << "\n";
      });
    }});

const Registration kTags(Command{
    "tags", "tags FILE",
    "lists the elements of a calibration, landmark or symbol file as the readers see them",
    [](const Args& args, Context& ctx) {
      if (args.size() != 1) throw UsageError("tags: expects one file name");
      Platform::TTextFile f;
      if (!f.TryReset(args[0])) throw UsageError("tags: cannot open '" + args[0] + "'");
      std::string attributes, content;
      for (;;) {
        const int32_t ix =
            Zelk_tagscan::ReadNextTagInTextFile(f, kMapFileTags, 15, attributes, content);
        if (ix == 15) break;
        ctx.out << ix << "\t" << kMapFileTags[static_cast<size_t>(ix)] << "\t" << attributes;
        if (!content.empty()) ctx.out << "\t(" << content.size() << " bytes of content)";
        ctx.out << "\n";
      }
      return 0;
    }});

const Registration kDemo(DemoStep{
    1, "Support libraries", [](Context& ctx) {
      using namespace Zelk_zelkbase;
      ctx.out << "47.06 degrees as text: " << Zelk_math2::DegreeToStr(47.06, dfDecimal, 2) << ", "
              << Zelk_math2::DegreeToStr(47.06, dfDegMin, 1) << ", "
              << Zelk_math2::DegreeToStr(47.06, dfDegMinSec, 0) << "\n";
      ctx.out << "Grid spacing for a 20 km high map: " << Zelk_math2::Round125(2000) << " m\n";
      Zelk_math2::TCurveFit fit;
      for (double x : {0.0, 1.0, 2.0, 3.0, 4.0}) fit.EnterStatValue(x, 2 - 3 * x + 0.5 * x * x);
      double c0, c1, c2, q;
      fit.CalcParabolFit(c0, c1, c2, q);
      ctx.out << "Parabola through 5 points: y = " << Platform::FloatToStrGeneral(c0, 6) << " + "
              << Platform::FloatToStrGeneral(c1, 6) << "x + " << Platform::FloatToStrGeneral(c2, 6)
              << "x^2 (R^2 " << Platform::FloatToStrGeneral(q, 6) << ")\n";
      Platform::TMemoryStream s;
      Zelk_tagscan::WriteLnStream(s, "<gmlandmarks sig=\"Korvane\" id=\"demo\">");
      Zelk_tagscan::WriteLnStream(
          s, "<landmark lat=\"47.3769\" long=\"8.5417\" captext=\"Zurich\" />");
      Zelk_tagscan::WriteLnStream(s, "</gmlandmarks>");
      s.SetPosition(0);
      std::string attributes, content;
      ctx.out << "Elements of a landmark section:";
      for (int32_t ix; (ix = Zelk_tagscan::ReadNextTagInStream(s, kMapFileTags, 15, attributes,
                                                               content)) != 15;)
        ctx.out << " " << kMapFileTags[static_cast<size_t>(ix)];
      ctx.out << "\n";
    }});

}  // namespace
