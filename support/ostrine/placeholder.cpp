// Placeholder translation unit until the library's sources land.
namespace Zelk_matrix {}
