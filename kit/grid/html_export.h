// Export of a grid, as the user sees it, to an HTML page: one table with an indentation column
// per grouping level, a header row, then every group row and data row in display order, every
// cell styled through a numbered CSS class. The page is single-byte Windows-1252 text with CR LF
// line ends and no line end after the last line; it declares no character set.
#pragma once

#include <QString>

#include <string>

namespace kit {

class GridView;

// Expands every group of `grid` (they stay expanded), then writes the rows the grid's filter lets
// through, in the grid's grouping and order, to `fileName` (a path in the system's file-name
// encoding). When `extension` is not empty the file name's extension is replaced by a dot and
// `extension` first. System colours are read from the application's palette now.
//
// The page goes to a temporary file that is renamed over the old one, so a failure leaves any
// older page as it was. Throws kit::FileError "Cannot create file "<path>". <reason>" or
// "Stream write error".
void ExportGridToHtml(GridView &grid, const std::string &fileName,
                      const std::string &extension = "html");

// The page of the grid as it shows now (collapsed groups hide their rows), titled `title`, with
// the system colours of the application's palette: the bytes ExportGridToHtml writes.
std::string RenderGridHtml(const GridView &grid, const QString &title);

// The file name with its extension replaced by "." + `extension`; unchanged when `extension` is
// empty. The extension is what follows the last dot of the last path component.
std::string ChangeFileExtension(const std::string &fileName, const std::string &extension);

}  // namespace kit
