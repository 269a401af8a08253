// Placeholder translation unit until the module's sources land.
namespace ZELK_geobasics {}
