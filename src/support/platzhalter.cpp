namespace tarvendo {}
