// Calibration files: the writer and the control-free parser of the
// calibration text (one "geomap" element per calibration, several per file).
#pragma once

#include <array>
#include <string>

#include "geomap/calibration.h"
#include "geomap/calibtypes.h"
#include "platform/streams.h"
#include "platform/textfile.h"

namespace ZELK_geomap {

// Model names as stored in the "model" attribute, indexed by TCalibModel.
extern const std::array<std::string, 7> CalibModelNames;

// Writes one calibration (header line only when WriteHeader) to an open
// text file. Raises EZELKGeoMapError for a record whose counts exceed its
// arrays, EInOutError when writing fails.
void WriteRawCalDataToOpenXMLFile(Platform::TTextFile& F, bool WriteHeader,
                                  const std::string& DataID, const TCalibData& CalibData,
                                  TCalibModel CalibModel);

// Reads the calibration DataID (letter case ignored; "" = the first one)
// into CalibData and CalibModel. Fields that the file does not set keep
// what the caller passed. False when the file cannot be opened, the stream
// is missing or no calibration matches. Malformed content raises
// EZELKGeoMapError ("ParseCalibData: ...").
bool ParseCalibData(const std::string& FName, const std::string& DataID, TCalibData& CalibData,
                    TCalibModel& CalibModel);
bool ParseCalibData(Platform::TMemoryStream* InStream, const std::string& DataID,
                    TCalibData& CalibData, TCalibModel& CalibModel);

// The same into a calibration value, which then rebuilds its graticule
// matrix and fits its model; corners and resolution stay as the file gives
// them. The calibration is unchanged when nothing was read; malformed
// content raises as above and leaves it unchanged too.
bool ParseCalibData(const std::string& FName, const std::string& DataID, TCalibration& Calibration);
bool ParseCalibData(Platform::TMemoryStream* InStream, const std::string& DataID,
                    TCalibration& Calibration);

}  // namespace ZELK_geomap
