// The pictures: a pointer arrow and a magnifier for the atlas's two mode
// buttons, and the zoom and hand cursors.
#include "resources/artwork_internal.h"

namespace lumivar_resources {

Platform::TColor GlyphColor(char c) {
  switch (c) {
    case 'X':
      return 0x000000;
    case 'o':
      return 0xFFFFFF;
    case 'g':
      return 0x808080;
    case 'b':
      return 0xF0D8B0;  // $00BBGGRR: a pale blue
    case 'h':
      return 0x204080;  // a brown
    default:
      return 0xFF00FF;  // the transparent key
  }
}

const TGlyphArt kGlyphArt[2] = {
    {"POINTR",
     {
         "....................",  //
         "....................",  //
         "......X.............",  //
         "......XX............",  //
         "......XoX...........",  //
         "......XooX..........",  //
         "......XoooX.........",  //
         "......XooooX........",  //
         "......XoooooX.......",  //
         "......XooooooX......",  //
         "......XoooooooX.....",  //
         "......XooooXXXXX....",  //
         "......XooXooX.......",  //
         "......XoX.XooX......",  //
         "......XX..XooX......",  //
         "......X....XooX.....",  //
         "...........XooX.....",  //
         "............XX......",  //
     }},
    {"ZOOMIN",
     {
         "....................",  //
         ".....XXXX...........",  //
         "...XXbbbbXX.........",  //
         "..XbbbbbbbbX........",  //
         "..XbbbXXbbbX........",  //
         ".XbbbbXXbbbbX.......",  //
         ".XbbXXXXXXbbX.......",  //
         ".XbbXXXXXXbbX.......",  //
         ".XbbbbXXbbbbX.......",  //
         "..XbbbXXbbbX........",  //
         "..XbbbbbbbbXX.......",  //
         "...XXbbbbXXhhX......",  //
         ".....XXXX.XhhhX.....",  //
         "...........XhhhX....",  //
         "............XhhhX...",  //
         ".............XhhhX..",  //
         "..............XhhhX.",  //
         "...............XhhX.",  //
         "................XX..",  //
     }},
};

const TCursorArt kCursorArt[2] = {
    // the lens centre is the hot spot
    {"CURGEOZOOM",
     6,
     6,
     {
         "....XXXXX",        //
         "..XXoooooXX",      //
         ".XoooooooooX",     //
         ".XooooXooooX",     //
         "XoooooXoooooX",    //
         "XoooooXoooooX",    //
         "XooXXXXXXXooX",    //
         "XoooooXoooooX",    //
         "XoooooXoooooX",    //
         ".XooooXooooX",     //
         ".XoooooooooXX",    //
         "..XXoooooXXXXX",   //
         "....XXXXX..XXXX",  //
         "............XXXX",
         ".............XXXX",
         "..............XXXX",
         "...............XXXX",
         "................XXX",
     }},
    // the tip of the pointing finger is the hot spot
    {"CURGEOHAND",
     0,
     0,
     {
         "XX",            //
         "XoX",           //
         "XooX",          //
         "XooX",          //
         "XooXXX",        //
         "XooXooXXX",     //
         "XooXooXooXX",   //
         "XooXooXooXoX",  //
         "XooooooooooX",  //
         "XooooooooooX",  //
         "XooooooooooX",  //
         ".XoooooooooX",  //
         ".XooooooooX",   //
         "..XoooooooX",   //
         "..XoooooooX",   //
         "..XXXXXXXXX",   //
     }},
};

}  // namespace lumivar_resources
