// Classes of the utility namespace ZEB are part of the library's interface to hosts.
#pragma once

#define ZEB_API __attribute__((visibility("default")))
