#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/messages.h"
#include "core/common/number_format.h"
#include "core/expr/expression.h"

namespace {

int RunCalc(const std::vector<std::string>& args) {
  if (args.size() != 1) throw hakuvo::cli::UsageError{hakuvo::cli::Text(hakuvo::cli::msgFormulaOneArgument)};
  hakuvo::TExpression expression;
  // A formula's error reaches main's report, the same line as a condition of extract gives.
  std::cout << hakuvo::FormatGeneral(expression.Calc(args[0])) << "\n";
  return 0;
}

hakuvo::cli::Registrar registrar({"calc", "FORMULA", "prints the value of a formula", RunCalc});

}  // namespace
