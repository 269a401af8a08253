// Reading calibrations: the header search and the element reader shared by
// the control's loaders and ParseCalibData.
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "geomap/calfile_internal.h"
#include "geomap/calfiles.h"
#include "geomap/caltext.h"
#include "geomap/geomap.h"
#include "platform/codepage.h"
#include "support/brontal/brontal.h"

namespace ZELK_geomap {
namespace calfile {

namespace {

// Text after `key` up to the next double quote (or the end of the line),
// searched for in `searchIn`; taken from `takeFrom` (the same line, maybe in
// other letter case). Found tells whether the key was there at all.
std::string QuotedAfter(const std::string& searchIn, const std::string& takeFrom,
                        const std::string& key, bool* found = nullptr) {
  const size_t at = searchIn.find(key);
  if (found) *found = at != std::string::npos;
  if (at == std::string::npos) return "";
  const size_t start = at + key.size();
  const size_t end = std::min(takeFrom.find('"', start), takeFrom.size());
  return takeFrom.substr(start, end - start);
}

// An attribute's text as the writer escaped it, trimmed, in UTF-8.
std::string DecodedText(const std::string& raw) {
  return Platform::Cp1252ToUtf8(UnescapeXMLText(TrimBlanks(raw)));
}

// Position (1-based) just after `key` in text, or 0 when the key is absent.
int32_t PosAfter(const std::string& text, const std::string& key) {
  const size_t at = text.find(key);
  return at == std::string::npos ? 0 : static_cast<int32_t>(at + key.size()) + 1;
}

int32_t IntegerAfter(const std::string& text, const std::string& key) {
  int32_t pos = PosAfter(text, key);
  return pos == 0 ? 0 : ScanInteger(text, pos);
}

// The inner texts of the bracket pairs "[...]" of an element's content, in
// order; stops at the first "]" that comes before its "[".
std::vector<std::string> BracketPairs(const std::string& content) {
  std::vector<std::string> pairs;
  size_t from = 0;
  for (;;) {
    const size_t open = content.find('[', from);
    const size_t close = content.find(']', from);
    if (open == std::string::npos || close == std::string::npos || close < open) break;
    pairs.push_back(content.substr(open + 1, close - open - 1));
    from = close + 1;
  }
  return pairs;
}

[[noreturn]] void PointCountError(const TCalReadRules& rules) {
  throw EZELKGeoMapError(rules.ErrorPrefix +
                         "specified number of calibration points and actual number does not match");
}

void ReadCalLine(const std::string& attributes, const std::string& content, TCalibData& D,
                 const TCalReadRules& rules) {
  const std::string lower = LowerCase1252(attributes);
  const std::string type = QuotedAfter(lower, lower, "type=\"");
  TCalibLine line;
  if (type == "parallel")
    line.LineType = gtlParallel;
  else if (type == "meridian")
    line.LineType = gtlMeridian;
  else
    throw EZELKGeoMapError(rules.ErrorPrefix + "invalid type of graticule line: type=\"" +
                           Platform::Cp1252ToUtf8(type) + "\"");
  int32_t pos = PosAfter(lower, "value=\"");
  line.LineValue = pos == 0 ? 0 : ScanFloat(lower, true, 3, pos);
  const int32_t declared = IntegerAfter(lower, "npoints=\"");
  const auto pairs = BracketPairs(content);
  if (pairs.size() > static_cast<size_t>(kMaxLinePoints) ||
      static_cast<int64_t>(pairs.size()) != declared || D.NumCalLines >= kMaxCalLines)
    PointCountError(rules);
  for (const std::string& p : pairs) {
    Platform::TPoint& pt = line.CalPoints[static_cast<size_t>(++line.NumPoints)];
    int32_t at = 1;
    pt.X = ScanInteger(p, at);
    pt.Y = IntegerAfter(p, ",");
  }
  if (rules.DropShortLines && declared < 3) return;
  D.CalLines[static_cast<size_t>(++D.NumCalLines)] = line;
}

void ReadCorners(const std::string& content, TCalibData& D, const TCalReadRules& rules) {
  const auto pairs = BracketPairs(content);
  if (pairs.size() > D.Corners.size()) PointCountError(rules);
  for (size_t i = 0; i < pairs.size(); ++i) {
    const std::string& p = pairs[i];
    const size_t comma = p.find(',');
    int32_t pos = comma == std::string::npos ? 0 : static_cast<int32_t>(comma) + 2;
    D.Corners[i].Longit = pos == 0 ? 0 : ScanFloat(p, true, 3, pos);
    pos = 1;
    D.Corners[i].Latit = ScanFloat(p.substr(0, comma), true, 3, pos);
  }
}

void ReadCalQuads(const std::string& attributes, const std::string& content, TCalibData& D,
                  const TCalReadRules& rules) {
  const int32_t declared = IntegerAfter(LowerCase1252(attributes), "npoints=\"");
  const auto pairs = BracketPairs(content);
  if (pairs.size() > static_cast<size_t>(kMaxCalQuads) ||
      static_cast<int64_t>(pairs.size()) != declared)
    PointCountError(rules);
  for (size_t i = 0; i < pairs.size(); ++i) {
    const std::string& p = pairs[i];
    TCalQuad& q = D.CalQuads[i + 1];
    int32_t pos = 1;
    q.Latitude = ScanFloat(p, false, 1, pos);
    ++pos;
    q.Longitude = ScanFloat(p, false, 1, pos);
    ++pos;
    q.MapX = ScanInteger(p, pos);
    ++pos;
    q.MapY = ScanInteger(p, pos);
  }
  D.NumCalQuads = declared;
}

ZELK_geobasics::TGeoEllipsoid EllipsoidFromId(const std::string& id) {
  const auto& ids = ZELK_geobasics::GeoEllipsoidId;
  const int32_t ix =
      Zelk_tagscan::StringIx(id, ids, static_cast<int32_t>(ZELK_geobasics::GeoEllipsoidCount) - 1);
  // An identifier this library does not know reads as the default ellipsoid.
  if (ix < 1) return ZELK_geobasics::gelWGS84;
  return static_cast<ZELK_geobasics::TGeoEllipsoid>(ix - 1);
}

}  // namespace

bool TTextFileSource::ReadLine(std::string& Line) {
  return FFile.ReadLn(Line);
}

int32_t TTextFileSource::NextElement(std::string& Attributes, std::string& Content) {
  return Zelk_tagscan::ReadNextTagInTextFile(FFile, XMLTagNames, xtInvalid, Attributes, Content);
}

bool TStreamSource::ReadLine(std::string& Line) {
  if (FEof) return false;
  Line = ReadLineFromStream(FStream, FEof, 0);
  return true;
}

int32_t TStreamSource::NextElement(std::string& Attributes, std::string& Content) {
  return Zelk_tagscan::ReadNextTagInStream(FStream, XMLTagNames, xtInvalid, Attributes, Content);
}

bool FindCalHeader(TCalSource& Source, const std::string& DataID, TCalHeader& Header) {
  const std::string wanted = LowerCase1252(Platform::Utf8ToCp1252(DataID));
  std::string line;
  while (Source.ReadLine(line)) {
    const std::string lower = LowerCase1252(line);
    if (lower.find("<geomap") == std::string::npos || lower.find("korvane") == std::string::npos)
      continue;
    const std::string id =
        LowerCase1252(TrimBlanks(UnescapeXMLText(QuotedAfter(lower, line, "id=\""))));
    if (!wanted.empty() && wanted != id) continue;
    Header.Model = TrimBlanks(QuotedAfter(lower, lower, "model=\"", &Header.HasModel));
    // The map name keeps its letter case: file systems that tell cases
    // apart would otherwise miss the image.
    Header.MapFName = DecodedText(QuotedAfter(lower, line, "map=\""));
    Header.Caption = DecodedText(QuotedAfter(lower, line, "caption=\""));
    return true;
  }
  return false;
}

TCalibModel ModelFromName(const std::string& LowerName, TCalibModel Fallback) {
  const int32_t ix = Zelk_tagscan::StringIx(LowerName, CalibModelNames,
                                            static_cast<int32_t>(CalibModelNames.size()) - 1);
  return ix < 1 ? Fallback : static_cast<TCalibModel>(ix - 1);
}

void ReadCalElements(TCalSource& Source, TCalibData& D, const TCalReadRules& Rules) {
  std::string attributes, content;
  for (;;) {
    const int32_t tag = Source.NextElement(attributes, content);
    switch (tag) {
      case xtGeoMapEnd:
      case xtInvalid:
        return;
      case xtCalLine:
        ReadCalLine(attributes, content, D, Rules);
        break;
      case xtCorners:
        ReadCorners(content, D, Rules);
        break;
      case xtResolution: {
        int32_t pos = 1;
        D.Resolution = ScanFloat(content, true, 3, pos);
        break;
      }
      case xtCalQuads:
        ReadCalQuads(attributes, content, D, Rules);
        break;
      case xtUTMZone: {
        int32_t pos = 1;
        D.UTMZone = ScanInteger(content, pos);
        break;
      }
      case xtUTMSouth:
        D.UTMSouth = TrimBlanks(LowerCase1252(content)) == "true";
        break;
      case xtEllipsoid:
        D.Ellipsoid = EllipsoidFromId(content);
        break;
      default:
        // Other sections' elements and anything out of the table's range.
        if (tag < 0 || tag > xtInvalid) return;
        break;
    }
  }
}

}  // namespace calfile

namespace {

bool ParseFromSource(calfile::TCalSource& source, const std::string& DataID, TCalibData& CalibData,
                     TCalibModel& CalibModel) {
  calfile::TCalHeader header;
  if (!calfile::FindCalHeader(source, DataID, header)) return false;
  CalibModel =
      header.HasModel ? calfile::ModelFromName(header.Model, cmUndefined) : cmBiquadraticPn;
  CalibData.MapFName = header.MapFName;
  CalibData.Caption = header.Caption;
  CalibData.NumCalLines = 0;
  calfile::ReadCalElements(source, CalibData, {"ParseCalibData: ", false});
  return true;
}

}  // namespace

bool ParseCalibData(const std::string& FName, const std::string& DataID, TCalibData& CalibData,
                    TCalibModel& CalibModel) {
  Platform::TTextFile f;
  if (!f.TryReset(FName)) return false;
  calfile::TTextFileSource source(f);
  return ParseFromSource(source, DataID, CalibData, CalibModel);
}

bool ParseCalibData(Platform::TMemoryStream* InStream, const std::string& DataID,
                    TCalibData& CalibData, TCalibModel& CalibModel) {
  if (!InStream) return false;
  calfile::TStreamSource source(*InStream);
  return ParseFromSource(source, DataID, CalibData, CalibModel);
}

namespace {

bool ParseInto(TCalibration& Calibration,
               const std::function<bool(TCalibData&, TCalibModel&)>& parse) {
  TCalibData data = Calibration.Data();
  TCalibModel model = Calibration.Model();
  if (!parse(data, model)) return false;
  Calibration.SetData(data);
  Calibration.SetModel(model);
  Calibration.RecalcGratMat();
  Calibration.FitCurrentModel();
  return true;
}

}  // namespace

bool ParseCalibData(const std::string& FName, const std::string& DataID,
                    TCalibration& Calibration) {
  return ParseInto(Calibration, [&](TCalibData& data, TCalibModel& model) {
    return ParseCalibData(FName, DataID, data, model);
  });
}

bool ParseCalibData(Platform::TMemoryStream* InStream, const std::string& DataID,
                    TCalibration& Calibration) {
  return ParseInto(Calibration, [&](TCalibData& data, TCalibModel& model) {
    return ParseCalibData(InStream, DataID, data, model);
  });
}

// --- the control's loaders ---------------------------------------------

bool TGeoMap::ReadCalibration(calfile::TCalSource& Source, const std::string& DataID) {
  calfile::TCalHeader header;
  if (!calfile::FindCalHeader(Source, DataID, header)) return false;
  ClearCalibData();
  FCal.SetModel(calfile::ModelFromName(header.Model, cmUndefined));
  TCalibData data = FCal.Data();
  data.MapFName = header.MapFName;
  data.Caption = header.Caption;
  try {
    calfile::ReadCalElements(Source, data,
                             {"Component \"" + Name() + "\": ", /*DropShortLines=*/true});
    FCal.SetData(data);
    FCal.RecalcGratMat();
    if (!data.MapFName.empty()) SetMapImgName(data.MapFName);
  } catch (...) {
    // A refused element or map image still leaves the points read so far
    // in place: the model must describe them, not the calibration they
    // replaced. (The reader keeps every count within its array.)
    FCal.SetData(data);
    FCal.RecalcGratMat();
    FCal.FitCurrentModel();
    throw;
  }
  FCal.FitCurrentModel();
  // The image painted when it arrived, before the model was fitted: the
  // grid and landmarks must follow the new calibration.
  Paint();
  return true;
}

bool TGeoMap::LoadCalDataFromXML(const std::string& FName, const std::string& DataID) {
  Platform::TTextFile f;
  if (!f.TryReset(FName)) return false;
  return ReadCalDataFromOpenXMLFile(f, DataID);
}

bool TGeoMap::LoadCalDataFromXML(Platform::TMemoryStream& InStream, const std::string& DataID) {
  calfile::TStreamSource source(InStream);
  return ReadCalibration(source, DataID);
}

bool TGeoMap::ReadCalDataFromOpenXMLFile(Platform::TTextFile& F, const std::string& DataID) {
  calfile::TTextFileSource source(F);
  return ReadCalibration(source, DataID);
}

void TGeoMap::SetCalDatName(const std::string& Value) {
  if (Platform::FileExists(Value)) {
    FCalDatName = Value;
    LoadCalDataFromXML(Value, "");
  } else {
    ForgetMapImage();
  }
  Paint();
}

}  // namespace ZELK_geomap
