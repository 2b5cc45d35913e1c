// How one run starts and ends, for the page and for node alike. Module.rtgHost is the host: the
// page's or node's. main is started by hand, not by the runtime, so that its exit status comes
// back even though it has awaited the host on the way.
Module['noInitialRun'] = true;
Module['onRuntimeInitialized'] = function () {
  const host = Module['rtgHost'];
  Promise.resolve(Module['ccall']('main', 'number', [], [], { async: true })).then(
    (status) => host.finished(status),
    (error) => host.failed(error)
  );
};
