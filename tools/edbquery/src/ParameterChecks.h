#pragma once
#include <string>
#include <vector>

#include "NUVEdbStatementProvenance.h"
#include "Options.h"

class NUVHostDialect;

// Checks that refuse parameters whose substitution would quietly give a
// statement other than the one meant. Each throws Failure (a usage error)
// naming the parameter; none touches a database. What the library wrote
// is read from its own record of the values it wrote
// (NUVEdbStatementProvenance), never rebuilt here.

// Refuses a parameter name that does not occur in the statement.
void CheckNamesOccur(const std::string& statement, const std::vector<ParameterOption>& parameters);

// Refuses a name given twice, or given before a name that holds it (:ID
// before :IDX): its substitution would cut into the later name.
void CheckNamesApart(const std::vector<ParameterOption>& parameters);

// Refuses a parameter whose insertion (written[i]: the text the library
// writes in place of parameter i's names, value and any list expression
// around it) holds the name of a parameter given after it: that parameter
// would be substituted inside the insertion.
void CheckValuesHoldNoLaterName(const std::vector<ParameterOption>& parameters,
                                const std::vector<std::string>& written);

// Refuses a finished statement that holds more comments than the statement
// did under the host's lexer (10-:A with -5 gives 10--5), naming the
// parameter whose written value a new comment covers. values: what the
// library recorded of the finished text.
void CheckNoCommentMade(const std::string& statement, const std::string& finished,
                        const std::vector<NUVEdbWrittenValue>& values,
                        const std::vector<ParameterOption>& parameters, const NUVHostDialect& dialect);

// Refuses a double whose number, as the library wrote it into the finished
// text, does not read back as the same number (123456789.123 written as
// 1.23457e+08).
void CheckDoublesKept(const std::string& finished, const std::vector<NUVEdbWrittenValue>& values,
                      const std::vector<ParameterOption>& parameters);
