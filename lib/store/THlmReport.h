#pragma once

#include "ClientDataSet.h"

#include <QString>

class TNrQuery;

// The report definitions of the suite ("kbr_Report.xml" in the definitions
// folder), one row per report, registered in the school database at each
// connection:
//   <Reports>
//     <Report IYRPTID="1100601" IYRFOID="11006" IYRPTVERSION="1"
//             SYRPTDESC="..." SYRPTNOTE="...">
//       <BYRPTREPORT>base64</BYRPTREPORT> <BYRPTVAR>base64</BYRPTVAR>
//     </Report>
//   </Reports>
class THlmReport
{
public:
    THlmReport();

    // Loads the file; false when it does not exist, EDatabaseError naming
    // the file and the line when it is malformed.
    bool load(const QString &path);
    ClientDataSet &dataSet() { return m_reports; }

    // When the file exists: fetches "QRY_YRPT" into the target, formats it
    // with "=" when `sameVersionToo` is set (a report of the same version is
    // written again) and with empty text otherwise, and runs it for every
    // report with its values as parameters.
    void registerReports(TNrQuery &target, const QString &path, bool sameVersionToo);

private:
    ClientDataSet m_reports;
};
