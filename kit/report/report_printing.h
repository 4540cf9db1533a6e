// Sends reports to a QPrinter: page set-up and job name from the report, the printer's page
// range and copies, a progress callback that can cancel.
#pragma once

#include "kit/report/report_document.h"

#include <functional>
#include <stdexcept>

class QPrinter;

namespace kit {

class Report;

class ReportPrintError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Called before each page with the pages printed so far and the pages to print (0 and 0 while
// the report is still being generated); returning false cancels the job.
using PrintProgress = std::function<bool(int printed, int total)>;

// Paper size, orientation and job name of the report; full-page painting, so the report's own
// margins place everything.
void setUpPrinter(QPrinter &printer, const QString &title, const PageSetup &setup);

// Prints the pages in the printer's range (all when none is set). Returns false when cancelled;
// throws ReportPrintError when the printer cannot be used.
bool printDocument(QPrinter &printer, const ReportDocument &doc,
                   const PrintProgress &progress = {});

// Generates the report from its table as it is now and prints it.
bool printReport(QPrinter &printer, const Report &report, const PrintProgress &progress = {});

}  // namespace kit
