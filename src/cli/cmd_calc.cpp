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
  try {
    std::cout << hakuvo::FormatGeneral(expression.Calc(args[0])) << "\n";
  } catch (const hakuvo::EExpressionError& error) {
    // The message of every formula error is just "Error"; the number and position say more.
    hakuvo::cli::PrintError(std::string(hakuvo::ExpressionErrorName(error.ErrorNumber())) + " at " +
                            std::to_string(error.ErrorIndex()));
    return 1;
  }
  return 0;
}

hakuvo::cli::Registrar registrar({"calc", "FORMULA", "prints the value of a formula", RunCalc});

}  // namespace
