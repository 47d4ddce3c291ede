#pragma once
#include <string>
#include <vector>

#include "Options.h"

// Checks that refuse parameters whose substitution would quietly give a
// statement other than the one meant. Each throws Failure (a usage error)
// naming the parameter; none touches a database.

// Refuses a parameter name that does not occur in the statement.
void CheckNamesOccur(const std::string& statement, const std::vector<ParameterOption>& parameters);

// Refuses a name given twice, or given before a name that holds it (:ID
// before :IDX): its substitution would cut into the later name.
void CheckNamesApart(const std::vector<ParameterOption>& parameters);

// Refuses a value whose text, as it is written into the statement, holds
// the name of a parameter given after it: that parameter would be
// substituted inside the value.
void CheckValuesHoldNoLaterName(const std::vector<ParameterOption>& parameters);

// Refuses a finished statement that holds more comments than the statement
// did (10-:A with -5 gives 10--5), naming the parameter that made one when
// a single one does.
void CheckNoCommentMade(const std::string& statement, const std::string& finished,
                        const std::vector<ParameterOption>& parameters);

// Refuses a double that the statement would not hold as the same number:
// the library writes six significant digits (123456789.123 becomes
// 123457000).
void CheckDoublesKept(const std::vector<ParameterOption>& parameters);
