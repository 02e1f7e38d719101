// "zigzag draw": one drag with the zigzag tool, as a user would make it, written as an SVG picture.
#ifndef ZZ_APPS_CLI_DRAW_COMMAND_H
#define ZZ_APPS_CLI_DRAW_COMMAND_H

#include <ostream>
#include <string>
#include <vector>

// `args` are the words after "draw" ("--help" alone prints the usage and returns 0):
//   --to X,Y            where the drag ends (required)
//   --from X,Y          where the button goes down (default 0,0)
//   --events N          drag events along the straight line from --from to --to (default 10, 1 to 100000)
//   --set FIELD=VALUE   a settings field by name (repeatable; integers, numbers, true/false, nan/inf)
//   --modifiers M       the modifier word of every drag event (decimal or 0x hex; default 0)
//   --pressure P        pen pressure 0 to 255 of every tool event (default 255)
//   --seed S            seed of the host's random sequence (default 0)
//   --page W,H          page size in points (default 612,792)
//   --color-model M     gray, rgb or cmyk (default rgb)
//   --swatches N        swatches in the document's list (default 0)
//   --styles N          named graphic styles (default 0)
//   --document DOC      the document as a session script's "document" object: JSON text starting with '{',
//                       or a file holding it; its keys and those of the four options above apply in order
//   --preset N          chooses entry N of the options dialog's preset popup and clicks OK before the drag
//   -o OUT.svg          the picture to write (required)
// The module at `modulePath` is started, the preset chosen, the settings applied, the drag played (mouse
// down, the drag events, mouse up), the document written to OUT.svg and the module shut down. Returns 0; 2
// with a usage message naming the argument on `err` for a bad argument; 1 when the module cannot run or the
// picture cannot be written. A tool message that fails, or a preset the dialog refuses, is reported on `err`
// (the picture is still written) and gives 1.
int runDrawCommand(const std::vector<std::string>& args, const std::string& modulePath, std::ostream& out,
                   std::ostream& err);

#endif
