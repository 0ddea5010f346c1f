#include "startup/ApplicationIdentity.h"
#include "startup/ArgumentText.h"
#include "startup/COMMON.h"
#include "startup/DisplayConnection.h"

int main(int argc, char **argv)
{
    // Taken before Qt sees argv: a quote file may well be named "-style".
    const QString argumentText = quoteshow::ArgumentText(argc, argv);
    const auto application = quoteshow::OpenDisplay(argv[0]);
    quoteshow::SetApplicationIdentity();
    return quoteshow::COMMON::Run(argumentText);
}
