"use strict";

// Starts the program on the page's desktop, and again whenever it is asked
// to after the program has ended. What a run did stays in window.brisko:
// its desktop, its output and, once it has ended, its exit code.
(function () {
  const surface = document.getElementById("desktop");
  const taskbar = document.getElementById("taskbar");
  const ended = document.getElementById("ended");
  const endedText = document.getElementById("ended-text");
  const startAgain = document.getElementById("start-again");

  function showEnded(text) {
    endedText.textContent = text;
    ended.hidden = false;
    startAgain.focus({preventScroll: true});
  }

  function start() {
    ended.hidden = true;
    const desktop = new BriskoDesktop(surface, taskbar);
    // When each step of the start was reached, in ms from the start of
    // navigation (performance.now()).
    const run = {desktop, output: [], exitCode: null, startedMs: performance.now(), readyMs: null};
    window.brisko = run;
    const keep = (line) => run.output.push(line);
    desktop.onEnded = (exitCode) => {
      run.exitCode = exitCode;
      showEnded(exitCode === 0 ? "Brisko has ended." : "Brisko has ended with exit code " + exitCode + ".");
    };
    // The program cannot start or has stopped on an error: the page says so.
    const fail = (what, error) => {
      keep(what + ": " + error);
      desktop.dispose();
      showEnded("Brisko " + what + ": " + error);
    };
    createBrisko({
      desktop,
      // The module the page began compiling as it loaded.
      instantiateWasm: (imports, receiveInstance) => {
        window.briskoModule
          .then((module) => WebAssembly.instantiate(module, imports).then((instance) => receiveInstance(instance, module)))
          .catch((error) => fail("could not start", error));
        return {};
      },
      onRuntimeInitialized: () => { run.readyMs = performance.now(); },
      print: (line) => { keep(line); console.log(line); },
      printErr: (line) => { keep(line); console.error(line); },
      onAbort: (what) => {
        run.aborted = String(what);
        fail("stopped on an error", what);
      },
    }).catch((error) => fail("could not start", error));
  }

  startAgain.addEventListener("click", start);
  start();
})();
