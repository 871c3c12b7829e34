/* Version of the asset libraries and the tools, for their version resources
   and the tools' usage text. Read by the resource compiler as well. */
#ifndef TALLOW_VERSION_H
#define TALLOW_VERSION_H

#define TALLOW_VERSION_MAJOR 1
#define TALLOW_VERSION_MINOR 0
#define TALLOW_VERSION_PATCH 0
#define TALLOW_VERSION_TEXT "1.0.0"

#endif
