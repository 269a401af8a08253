// Writing calibrations: the text layout shared by the file and stream
// writers, and the control's save operations.
#include <string>
#include <vector>

#include "geomap/calfile_internal.h"
#include "geomap/calfiles.h"
#include "geomap/caltext.h"
#include "geomap/geomap.h"
#include "platform/atomicfile.h"
#include "platform/codepage.h"
#include "platform/numbers.h"
#include "support/brontal/brontal.h"

namespace ZELK_geomap {

const std::array<std::string, 7> CalibModelNames = {
    "parabolicip", "biquadraticpn", "conicconformal", "millercylindrical",
    "equirect",    "utm",           "undefined"};

namespace calfile {

namespace {

std::string StartTag(int32_t tag) {
  return "<" + XMLTagNames[tag];
}
std::string EndTag(int32_t tag) {
  return "</" + XMLTagNames[tag] + ">";
}
std::string Fixed(double v, int32_t decimals) {
  return FormatFixed(v, 1, decimals);
}
std::string Int(int64_t v) {
  return Platform::IntToStr(v);
}

// UTF-8 text as an attribute value: in the file code page, escaped, so that
// quotes and ampersands in names and captions come back as they were.
std::string AttributeText(const std::string& utf8) {
  return EscapeXMLText(Platform::Utf8ToCp1252(utf8));
}

// The arrays of the record are fixed; a count beyond them would make the
// writer read memory that is not part of the calibration.
void CheckCounts(const TCalibData& D) {
  bool ok = D.NumCalLines >= 0 && D.NumCalLines <= kMaxCalLines && D.NumCalQuads >= 0 &&
            D.NumCalQuads <= kMaxCalQuads;
  for (int32_t i = 1; ok && i <= D.NumCalLines; ++i)
    ok = D.CalLines[i].NumPoints >= 0 && D.CalLines[i].NumPoints <= kMaxLinePoints;
  if (!ok || D.Ellipsoid >= ZELK_geobasics::GeoEllipsoidCount)
    throw EZELKGeoMapError(
        "WriteRawCalDataToOpenXMLFile: calibration record holds counts or an ellipsoid out of "
        "range");
}

void AddCalLines(const TCalibData& D, std::vector<std::string>& out) {
  for (int32_t i = 1; i <= D.NumCalLines; ++i) {
    const TCalibLine& line = D.CalLines[i];
    out.push_back(StartTag(xtCalLine) + " type=\"" +
                  (line.LineType == gtlParallel ? "parallel" : "meridian") + "\" value=\"" +
                  Platform::FloatToStrGeneral(line.LineValue, 15) + "\" npoints=\"" +
                  Int(line.NumPoints) + "\">");
    std::string points;
    for (int32_t k = 1; k <= line.NumPoints; ++k)
      points += "[" + Int(line.CalPoints[k].X) + "," + Int(line.CalPoints[k].Y) + "] ";
    out.push_back(points);
    out.push_back(EndTag(xtCalLine));
  }
}

void AddCalQuads(const TCalibData& D, std::vector<std::string>& out) {
  out.push_back(StartTag(xtCalQuads) + " npoints=\"" + Int(D.NumCalQuads) + "\">");
  std::string points;
  for (int32_t i = 1; i <= D.NumCalQuads; ++i) {
    const TCalQuad& q = D.CalQuads[i];
    points += "[" + Fixed(q.Latitude, 5) + "," + Fixed(q.Longitude, 5) + "," + Int(q.MapX) + "," +
              Int(q.MapY) + "] ";
  }
  out.push_back(points);
  out.push_back(EndTag(xtCalQuads));
}

}  // namespace

std::vector<std::string> CalibrationLines(const TCalibData& D, TCalibModel CalibModel,
                                          const std::string& DataID, bool WriteHeader,
                                          TCalTextForm Form) {
  CheckCounts(D);
  const bool stream = Form == ctfStream;
  const std::string model =
      CalibModel < CalibModelNames.size() ? CalibModelNames[CalibModel] : "undefined";
  std::vector<std::string> out;
  if (WriteHeader || stream) out.push_back("<?xml version=\"1.0\"?>");
  out.push_back("");
  out.push_back("<!-- TGeoMap Calibration / Korvane Suite -->");
  out.push_back(StartTag(xtGeoMap) + " sig=\"Korvane\" vers=\"1.0\" id=\"" + AttributeText(DataID) +
                "\" model=\"" + model + "\" map=\"" + AttributeText(D.MapFName) + "\" caption=\"" +
                AttributeText(D.Caption) + "\">");
  out.push_back(StartTag(xtCorners) + ">");
  std::string corners;
  for (const TCoords& c : D.Corners)  // top-left, bottom-left, bottom-right, top-right
    corners += "[" + Fixed(c.Latit, 5) + "," + Fixed(c.Longit, 5) + "] ";
  out.push_back(corners);
  out.push_back(EndTag(xtCorners));
  if (D.Resolution > 0 || stream)
    out.push_back(StartTag(xtResolution) + ">" + Fixed(D.Resolution, 3) + EndTag(xtResolution));
  if (!stream) {
    if (D.UTMZone >= 1 && D.UTMZone <= 60) {
      out.push_back(StartTag(xtUTMZone) + ">" + Int(D.UTMZone) + EndTag(xtUTMZone));
      out.push_back(StartTag(xtUTMSouth) + ">" + BoolToText(D.UTMSouth, 0) + EndTag(xtUTMSouth));
    }
    out.push_back(StartTag(xtEllipsoid) + ">" + ZELK_geobasics::GeoEllipsoidId[D.Ellipsoid] +
                  EndTag(xtEllipsoid));
  }
  AddCalLines(D, out);
  if (D.NumCalQuads > 0 || stream) AddCalQuads(D, out);
  out.push_back(StartTag(xtGeoMapEnd) + ">");
  return out;
}

void WriteLinesToStream(Platform::TStream& Stream, const std::vector<std::string>& Lines) {
  for (const std::string& line : Lines) Zelk_tagscan::WriteLnStream(Stream, line);
}

}  // namespace calfile

void WriteRawCalDataToOpenXMLFile(Platform::TTextFile& F, bool WriteHeader,
                                  const std::string& DataID, const TCalibData& CalibData,
                                  TCalibModel CalibModel) {
  const auto lines =
      calfile::CalibrationLines(CalibData, CalibModel, DataID, WriteHeader, calfile::ctfFile);
  for (const std::string& line : lines) F.WriteLn(line);
}

void TGeoMap::WriteCalDataToOpenXMLFile(Platform::TTextFile& F, bool WriteHeader,
                                        const std::string& DataID) {
  FCal.CalcExtentsAndResolution();
  FCal.SetMapFName(FView.FMapImgName);
  WriteRawCalDataToOpenXMLFile(F, WriteHeader, DataID, FCal.Data(), FCal.Model());
}

void TGeoMap::WriteCalFile(const std::string& FileName, const std::string& DataID) {
  Platform::TTextFile f;
  f.Rewrite(FileName);
  WriteCalDataToOpenXMLFile(f, true, DataID);
  f.Close();
}

void TGeoMap::SaveCalDataAsXML(const std::string& FileName, const std::string& DataID) {
  // a failed save keeps the file that was there
  Platform::WriteFileAtomically(FileName,
                                [&](const std::string& temp) { WriteCalFile(temp, DataID); });
}

void TGeoMap::SaveCalDataAsXML(Platform::TStream& OutStream, const std::string& DataID) {
  FCal.CalcExtentsAndResolution();
  FCal.SetMapFName(FView.FMapImgName);
  calfile::WriteLinesToStream(
      OutStream,
      calfile::CalibrationLines(FCal.Data(), FCal.Model(), DataID, true, calfile::ctfStream));
}

}  // namespace ZELK_geomap
