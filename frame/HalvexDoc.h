// The document: the program keeps nothing in it.
#pragma once

#include "framework/DocView.h"

class CHalvexDoc : public CDocument {};
