// Every wait of the program in one place, in milliseconds. The program uses
// these values; tests shorten them, so no test waits out a real time-out.
#pragma once

namespace setutily {

struct LinkTiming {
  int settleMs = 1000;           // wait after opening the serial port
  int identifyMs = 3000;         // "ATI\r", "AT%I2\r", "AT%M\r", "ATT1\r"
  int promptSettleMs = 500;      // the bare "\r" after "ATT1\r"
  int exitMs = 3000;             // "exit\r"
  int storeMs = 10000;           // "fromwr 15\r"
  int commandMs = 10000;         // every command-line command: reads, writes, maintenance
  int connectMs = 10000;         // until the telnet connection is made
  int passwordPromptMs = 15000;  // until the device first asks for the password
  int loginStepMs = 3000;        // each later step of the network login
};

}  // namespace setutily
