// Umbrella header of the numeric support library.
#pragma once
