// The `db` commands of the tool and the database step of the demo.
#include <cstdlib>
#include <filesystem>
#include <ostream>

#include "geobasics/geobasics.h"
#include "geodb/geodb.h"
#include "platform/platform.h"
#include "support/brontal/fileutil.h"
#include "tools/lumivar/cli.h"

namespace {

using namespace lumivar_cli;
using namespace ZELK_GeoDB;
using Zelk_zelkbase::dfDecimal;
using Zelk_zelkbase::dfDegMin;

struct BoxFilter {
  bool active = false;
  double latLo = 0, latHi = 0, lonLo = 0, lonHi = 0;
  bool Meets(const TgdbData& d) const {
    return !active ||
           (d.LatLow <= latHi && d.LatHigh >= latLo && d.LongLow <= lonHi && d.LongHigh >= lonLo);
  }
};

BoxFilter TakeBox(Args& args) {
  BoxFilter box;
  auto it = std::find(args.begin(), args.end(), "--box");
  if (it == args.end()) return box;
  if (args.end() - it < 5) throw UsageError("--box needs LATLO LATHI LONLO LONHI");
  box.active = true;
  box.latLo = ParseDouble(it[1], "LATLO");
  box.latHi = ParseDouble(it[2], "LATHI");
  box.lonLo = ParseDouble(it[3], "LONLO");
  box.lonHi = ParseDouble(it[4], "LONHI");
  args.erase(it, it + 5);
  return box;
}

TgdbItem ParseKind(const std::string& text) {
  for (size_t k = 0; k < GDB_ITEMNAMES.size(); ++k) {
    if (Platform::SameText(GDB_ITEMNAMES[k], text)) return static_cast<TgdbItem>(k);
  }
  throw UsageError("unknown kind '" + text +
                   "' (Border, Town, City, Lake, River, Road, Route, BLOB, Undefined)");
}

// Opens an existing database; the tool never creates one by mistake except
// where the command adds to it.
void OpenDb(TGeoDB& db, const std::string& name, bool mayCreate) {
  if (!mayCreate && !Platform::FileExists(Zelk_fileutil::StripExtension(name) + ".zelkgds"))
    throw UsageError("no database '" + name + "'");
  db.SetGDBName(name);
}

void PrintEntry(std::ostream& out, int32_t entry, const TgdbData& d) {
  out << entry << "\t" << d.ItemId << "\t" << ItemKindName(d.ItemKind) << "\t" << d.Name.ToString()
      << "\t" << Platform::FloatToStrGeneral(d.LatLow, 7) << " "
      << Platform::FloatToStrGeneral(d.LatHigh, 7) << " "
      << Platform::FloatToStrGeneral(d.LongLow, 7) << " "
      << Platform::FloatToStrGeneral(d.LongHigh, 7);
  if (IsPolygonKind(d.ItemKind))
    out << "\t" << d.NumPoints << " points" << (d.Closed ? ", closed" : "");
  if (d.ItemKind == gitBLOB) out << "\t" << d.Size() << " bytes";
  out << "\n";
}

// Entries whose boxes meet the filter, found through the LatLow index when a
// box is given: only entries starting south of its northern edge can meet it.
std::vector<int32_t> Matching(const TGeoDB& db, const BoxFilter& box, bool anyKind, TgdbItem kind) {
  std::vector<int32_t> entries;
  auto consider = [&](int32_t entry) {
    const TgdbData d = db.GetSumdata(entry);
    if ((anyKind || d.ItemKind == kind) && box.Meets(d)) entries.push_back(entry);
  };
  if (!box.active) {
    for (int32_t e = 1; e <= db.NumEntries(); ++e) consider(e);
    return entries;
  }
  for (int32_t p = 1; p <= db.NumEntries(); ++p) {
    const TIxLLRec r = db.GetIxLatLow(p);
    if (r.LLValue > box.latHi) break;
    consider(r.index + 1);
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

int32_t ParseEntry(const TGeoDB& db, const std::string& text) {
  const int32_t entry = ParseInt(text, "ENTRY");
  if (entry < 1 || entry > db.NumEntries())
    throw UsageError("entry " + text + " is not in 1.." + std::to_string(db.NumEntries()));
  return entry;
}

int RunInfo(Args& args, Context& ctx) {
  if (args.size() != 1) throw UsageError("usage: lumivar db info DB");
  TGeoDB db(nullptr);
  OpenDb(db, args[0], false);
  std::array<int32_t, 10> counts{};
  for (int32_t e = 1; e <= db.NumEntries(); ++e)
    ++counts[std::min<int>(db.GetSumdata(e).ItemKind, 9)];
  ctx.out << "database     " << db.GetGDBName() << "\n"
          << "description  " << db.GetDescription() << "\n"
          << "revision     " << db.GetRevision() << "\n"
          << "version      " << db.GetDBVersion() << "\n"
          << "entries      " << db.NumEntries() << "\n";
  for (size_t k = 0; k < GDB_ITEMNAMES.size(); ++k)
    if (counts[k] > 0) ctx.out << "  " << GDB_ITEMNAMES[k] << ": " << counts[k] << "\n";
  if (counts[9] > 0) ctx.out << "  unknown kind: " << counts[9] << "\n";
  return 0;
}

int RunList(Args& args, Context& ctx) {
  const std::string kindText = TakeOption(args, "--kind");
  const BoxFilter box = TakeBox(args);
  if (args.size() != 1)
    throw UsageError("usage: lumivar db list DB [--kind K] [--box LATLO LATHI LONLO LONHI]");
  TGeoDB db(nullptr);
  OpenDb(db, args[0], false);
  const TgdbItem kind = kindText.empty() ? gitUndefined : ParseKind(kindText);
  ctx.out << "entry\tid\tkind\tname\tlatlo lathi lonlo lonhi\n";
  for (int32_t e : Matching(db, box, kindText.empty(), kind))
    PrintEntry(ctx.out, e, db.GetSumdata(e));
  return 0;
}

int RunAddTown(Args& args, Context& ctx) {
  if (args.size() != 4) throw UsageError("usage: lumivar db add-town DB NAME LAT LON");
  const double lat = ParseDouble(args[2], "LAT"), lon = ParseDouble(args[3], "LON");
  if (lat < -90 || lat > 90 || lon < -180 || lon > 180) throw UsageError("LAT or LON out of range");
  TGeoDB db(nullptr);
  OpenDb(db, args[0], true);
  const int32_t entry =
      db.AddTown(args[1], Platform::Now(), 0,
                 TSCoords{static_cast<float>(lat), static_cast<float>(lon)}, 0, 0, 0);
  ctx.out << "added entry " << entry << ", id " << db.GetSumdata(entry).ItemId << ": " << args[1]
          << " at " << GeoLatitude(lat, dfDegMin, 2) << ", " << GeoLongitude(lon, dfDegMin, 2)
          << "\n";
  return 0;
}

int RunGetBlob(Args& args, Context& ctx) {
  if (args.size() != 3) throw UsageError("usage: lumivar db get-blob DB ENTRY DIR");
  TGeoDB db(nullptr);
  OpenDb(db, args[0], false);
  const int32_t entry = ParseEntry(db, args[1]);
  if (!Platform::DirectoryExists(args[2])) throw UsageError("no directory '" + args[2] + "'");
  TMetaInfo meta;
  if (!db.RetrieveBLOB(entry, Platform::IncludeTrailingPathDelimiter(args[2]), meta))
    throw UsageError("entry " + args[1] + " is no BLOB");
  ctx.out << "wrote " << db.GetSumdata(entry).Size() << " bytes of "
          << db.GetSumdata(entry).Name.ToString() << " into " << args[2] << " (from "
          << meta.FilePath.ToString() << ")\n";
  return 0;
}

int RunDelete(Args& args, Context& ctx) {
  if (args.size() != 2) throw UsageError("usage: lumivar db delete DB ENTRY");
  TGeoDB db(nullptr);
  OpenDb(db, args[0], false);
  const int32_t entry = ParseEntry(db, args[1]);
  const TgdbData d = db.GetSumdata(entry);
  db.DeleteData(entry);
  ctx.out << "deleted entry " << entry << " (id " << d.ItemId << ", " << d.Name.ToString() << ")";
  if (entry <= db.NumEntries()) ctx.out << "; the last entry is now entry " << entry;
  ctx.out << "\n";
  return 0;
}

int RunImportCountries(Args& args, Context& ctx) {
  if (args.size() != 1) throw UsageError("usage: lumivar db import-countries DB");
  TGeoDB db(nullptr);
  OpenDb(db, args[0], true);
  db.SetLazyWrite(true);
  const TDateTime now = Platform::Now();
  int32_t added = 0;
  for (const auto& c : ZELK_geobasics::CountryData) {
    if (c.Capital.Length() == 0) continue;
    db.AddTown(TgdbName::FromRaw(c.Capital.Chars()), now, 0,
               TSCoords{static_cast<float>(c.CapLat), static_cast<float>(c.CapLong)},
               static_cast<float>(c.CapAlt), 0, 0);
    ++added;
  }
  db.SetLazyWrite(false);
  ctx.out << "added " << added << " capitals; the database has " << db.NumEntries() << " entries\n";
  return 0;
}

int RunDb(const Args& all, Context& ctx) {
  if (all.empty())
    throw UsageError(
        "db needs a subcommand: info, list, add-town, get-blob, delete, import-countries");
  Args args(all.begin() + 1, all.end());
  const std::string& sub = all[0];
  if (sub == "info") return RunInfo(args, ctx);
  if (sub == "list") return RunList(args, ctx);
  if (sub == "add-town") return RunAddTown(args, ctx);
  if (sub == "get-blob") return RunGetBlob(args, ctx);
  if (sub == "delete") return RunDelete(args, ctx);
  if (sub == "import-countries") return RunImportCountries(args, ctx);
  throw UsageError("unknown db subcommand '" + sub + "'");
}

const Registration kDb(Command{
    "db",
    "db info DB | db list DB [--kind K] [--box LATLO LATHI LONLO LONHI]\n"
    "  db add-town DB NAME LAT LON | db get-blob DB ENTRY DIR | db delete DB ENTRY\n"
    "  db import-countries DB",
    "geographic database: describe, list, add a town, extract a BLOB, delete, add the capitals",
    RunDb});

void Demo(Context& ctx) {
  std::string pattern = (std::filesystem::temp_directory_path() / "lumivar-demo-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr)
    throw std::runtime_error("cannot create a temporary directory");
  const std::string dir = pattern;
  {
    TGeoDB db(nullptr);
    db.SetName("DemoDB");
    db.SetGDBName(dir + "/alps");
    db.SetDescription("A few places in the Alps");
    const TDateTime date = Platform::EncodeDate(2024, 6, 1);
    db.AddTown("Innsbruck", date, 0, TSCoords{47.2692f, 11.4041f}, 574, 1, 0);
    db.AddTown("Bolzano", date, 0, TSCoords{46.4983f, 11.3548f}, 262, 1, 0);
    db.AddTown("Chur", date, 0, TSCoords{46.8499f, 9.5329f}, 593, 1, 0);
    db.AddRiver("Inn (Landeck - Innsbruck)",
                {{47.139f, 10.565f}, {47.240f, 10.900f}, {47.268f, 11.393f}}, date, 0, 0, 0, 0, 0,
                0, 2, 0);
    db.AddLake("Lake Constance",
               {{47.65f, 9.17f}, {47.50f, 9.55f}, {47.48f, 9.73f}, {47.64f, 9.40f}}, date, 0, 0, 0,
               0, 0, 395, 3, 0);
    const std::string note = "Brenner Pass, 1370 m, between Innsbruck and Bolzano";
    TMetaInfo meta;
    meta.Caption = "Pass note";
    db.AddBLOB("brenner.txt", date, 0, 47.0f, 47.0f, 11.5f, 11.5f, 1370, 0, 0, meta, note.data(),
               static_cast<int32_t>(note.size()));
    ctx.out << "Built " << db.GetGDBName() << " (7 files): " << db.NumEntries() << " entries, \""
            << db.GetDescription() << "\"\n";
    ctx.out << "Entries reaching north of 47 degrees (through the LatHigh index):\n";
    for (int32_t p = db.GetClosestLatHighIx(47.0); p <= db.NumEntries(); ++p) {
      const TgdbData d = db.GetSumdata(db.GetIxLatHigh(p).index + 1);
      ctx.out << "  " << ItemKindName(d.ItemKind) << " " << d.Name.ToString() << ", up to "
              << GeoLatitude(d.LatHigh, dfDegMin, 1) << "\n";
    }
    TgdbPolygon inn;
    db.RetrievePolygon(4, inn);
    ctx.out << "The Inn outline has " << inn.size() << " points, ending at "
            << GeoLatitude(inn.back().Latit, dfDecimal, 3) << " "
            << GeoLongitude(inn.back().Longit, dfDecimal, 3) << "\n";
    db.DeleteData(1);
    ctx.out << "After deleting Innsbruck, entry 1 holds " << db.GetSumdata(1).Name.ToString()
            << " (id " << db.GetSumdata(1).ItemId << "); identifier 6 is entry "
            << db.SearchForItemID(6) << "\n";
  }
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
}

const Registration kDemo(DemoStep{20, "Geographic database", Demo});

}  // namespace
