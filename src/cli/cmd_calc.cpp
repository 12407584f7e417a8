#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "core/common/number_format.h"
#include "core/expr/expression.h"

namespace {

int RunCalc(const std::vector<std::string>& args) {
  if (args.size() != 1) throw hakuvo::cli::UsageError{"give the formula as one argument (quote it)"};
  hakuvo::TExpression expression;
  // A formula error goes to main's report, the same line as for a condition of extract.
  std::cout << hakuvo::FormatGeneral(expression.Calc(args[0])) << "\n";
  return 0;
}

hakuvo::cli::Registrar registrar({"calc", "FORMULA", "prints the value of a formula", RunCalc});

}  // namespace
