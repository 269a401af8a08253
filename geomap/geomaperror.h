// The error class of the map-control module.
#pragma once

#include "support/brontal/zelkbase.h"

namespace ZELK_geomap {

class EZELKGeoMapError : public Zelk_zelkbase::EZELKError {
 public:
  using Zelk_zelkbase::EZELKError::EZELKError;
};

}  // namespace ZELK_geomap
