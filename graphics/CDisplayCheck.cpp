// CDisplayCheck: what the engine does when the display server is why no window opens.
#include "graphics/CDisplayCheck.h"

#include <iostream>

#include "platform/CPlatform.h"

// Whether and how to ask is the platform's; what the engine does with the answer is decided here.
std::string CDisplayCheck::Problem() {
    return CPlatform::DisplayServerProblem();
}

bool CDisplayCheck::ReportProblem() {
    std::string problem = Problem();
    if (!problem.empty()) {
        std::cerr << "No display: " << problem << std::endl;
    }
    return !problem.empty();
}

bool CDisplayCheck::RefusesVideo() {
    return CPlatform::VideoDriverNamed().empty() && ReportProblem();
}
