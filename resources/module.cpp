// Placeholder translation unit until the module's sources land.
namespace lumivar_resources {}
