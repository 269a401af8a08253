// Pieces shared by the calibration writers and readers of the control and
// of the control-free functions. Not part of the installed interface.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "geomap/calibtypes.h"
#include "platform/streams.h"
#include "platform/textfile.h"

namespace ZELK_geomap::calfile {

// The lines of one calibration, 8-bit text without line ends. The stream
// form always has the header and the resolution and calquads elements but
// no UTM zone, hemisphere or ellipsoid.
enum TCalTextForm : uint8_t { ctfFile, ctfStream };
std::vector<std::string> CalibrationLines(const TCalibData& CalibData, TCalibModel CalibModel,
                                          const std::string& DataID, bool WriteHeader,
                                          TCalTextForm Form);

// Appends text and the stream line break.
void WriteLinesToStream(Platform::TStream& Stream, const std::vector<std::string>& Lines);

// Where the readers take their lines and elements from.
class TCalSource {
 public:
  virtual ~TCalSource() = default;
  // Next line without its line end; false when the input is exhausted.
  virtual bool ReadLine(std::string& Line) = 0;
  // Next element of the tag table: its index (the sentinel at the end of
  // the input), the attribute text and the content.
  virtual int32_t NextElement(std::string& Attributes, std::string& Content) = 0;
};

class TTextFileSource : public TCalSource {
 public:
  explicit TTextFileSource(Platform::TTextFile& F) : FFile(F) {}
  bool ReadLine(std::string& Line) override;
  int32_t NextElement(std::string& Attributes, std::string& Content) override;

 private:
  Platform::TTextFile& FFile;
};

class TStreamSource : public TCalSource {
 public:
  explicit TStreamSource(Platform::TStream& S) : FStream(S) {}
  bool ReadLine(std::string& Line) override;
  int32_t NextElement(std::string& Attributes, std::string& Content) override;

 private:
  Platform::TStream& FStream;
  bool FEof = false;
};

// What the selected "geomap" start line says (texts in UTF-8).
struct TCalHeader {
  bool HasModel = false;
  std::string Model;  // trimmed, lower case
  std::string MapFName;
  std::string Caption;
};

// Reads lines up to the first calibration header whose identifier matches
// DataID (letter case ignored; any when DataID is empty). False at the end
// of the input.
bool FindCalHeader(TCalSource& Source, const std::string& DataID, TCalHeader& Header);

// The model named in a header; Fallback when the name is unknown.
TCalibModel ModelFromName(const std::string& LowerName, TCalibModel Fallback);

// How the two reader families differ once a header is selected.
struct TCalReadRules {
  std::string ErrorPrefix;  // "Component \"name\": " or "ParseCalibData: "
  bool DropShortLines;      // lines declared with fewer than 3 points are dropped
};

// Reads the elements of the selected calibration up to its end tag (or the
// end of the input) into CalibData. Raises EZELKGeoMapError on malformed
// content; what was read before stays.
void ReadCalElements(TCalSource& Source, TCalibData& CalibData, const TCalReadRules& Rules);

}  // namespace ZELK_geomap::calfile
