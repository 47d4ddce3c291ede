#pragma once
// Marks what the platform library exports; everything else stays hidden.
#define NUVPLATFORM_API __attribute__((visibility("default")))
