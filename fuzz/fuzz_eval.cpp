#include "FuzzSupport.h"
#include "calc/calculator/Evaluator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzzText(data, size);
    (void)evaluateExpression(text);
    return 0;
}
